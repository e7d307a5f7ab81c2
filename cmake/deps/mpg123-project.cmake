# Read into mpg123's own CMake build after its project(): it calls check_type_size without
# including the module, which only some platforms' checks happen to load first (Emscripten's do not).
include(CheckTypeSize)
