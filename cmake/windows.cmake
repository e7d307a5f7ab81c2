# The Windows x64 cross build (cmake/mingw-w64-x86_64.cmake): the libraries come from the prefix
# scripts/build-deps fills (KAMORA_DEPS, static, found through their pkg-config files there), the
# programs link statically (no DLL beside them), and the output is the same bytes for the same
# sources: no time stamp in the executables, no build folder in their strings, symbols stripped.
set(KAMORA_DEPS "${CMAKE_SOURCE_DIR}/build-windows/deps" CACHE PATH "The Windows libraries' prefix")
if(NOT EXISTS "${KAMORA_DEPS}/lib/pkgconfig/sdl2.pc")
  message(FATAL_ERROR "No Windows libraries in ${KAMORA_DEPS}: run scripts/build-deps windows")
endif()

list(APPEND CMAKE_FIND_ROOT_PATH "${KAMORA_DEPS}")

# MinGW ships no glu.pc: GLU is Windows' own glu32.
set(KAMORA_PC_DIR "${CMAKE_BINARY_DIR}/pkgconfig")
file(WRITE "${KAMORA_PC_DIR}/glu.pc" "Name: glu\nDescription: Windows' GLU\nVersion: 1.3\nLibs: -lglu32\n")
# Only these pkg-config files, never the build machine's.
# Only these pkg-config files (and Debian's MinGW zlib's), never the build machine's; and static
# libraries only, never a DLL's import library.
set(ENV{PKG_CONFIG_LIBDIR}
  "${KAMORA_DEPS}/lib/pkgconfig:${KAMORA_PC_DIR}:/usr/${KAMORA_MINGW_TRIPLET}/lib/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")
set(CMAKE_FIND_LIBRARY_SUFFIXES .a)

# Our own main(), no SDL2main; M_PI and the like, as glibc gives them.
add_compile_definitions(SDL_MAIN_HANDLED _USE_MATH_DEFINES)
add_compile_options(-ffile-prefix-map=${CMAKE_SOURCE_DIR}=. -ffile-prefix-map=${KAMORA_DEPS}=deps)
add_link_options(-static -s -Wl,--no-insert-timestamp)

# Dear ImGui's back ends from the same build.
set(KAMORA_IMGUI_BACKENDS "${KAMORA_DEPS}/include/imgui/backends")
set(KAMORA_IMGUI_BACKEND_HEADERS "${KAMORA_IMGUI_BACKENDS}")

# The show is a windowed program (no console opens beside it); the toolbox is a console one.
cmake_language(DEFER CALL set_target_properties kamora PROPERTIES WIN32_EXECUTABLE ON)
# Its icon in Explorer and on its window (scripts/build-windows makes the .ico).
set(KAMORA_WINDOWS_ICON "" CACHE FILEPATH "The show's icon (.ico)")
if(KAMORA_WINDOWS_ICON)
  enable_language(RC)
  file(WRITE "${CMAKE_BINARY_DIR}/kamora.rc" "1 ICON \"${KAMORA_WINDOWS_ICON}\"\n")
  set_source_files_properties("${CMAKE_BINARY_DIR}/kamora.rc" PROPERTIES OBJECT_DEPENDS "${KAMORA_WINDOWS_ICON}")
  cmake_language(DEFER CALL target_sources kamora PRIVATE "${CMAKE_BINARY_DIR}/kamora.rc")
endif()

# What the static libraries need in turn (their pkg-config files' private part, which CMake's
# pkg-config module leaves out).
cmake_language(DEFER CALL target_link_libraries kamora_core PUBLIC shlwapi)
cmake_language(DEFER CALL target_link_libraries kamora_toolbox PUBLIC z)

# The stand-in ffmpeg.exe that tests/windows/wine_test.sh puts on Wine's PATH, alone in a folder.
add_executable(kamora-fake-ffmpeg EXCLUDE_FROM_ALL ${CMAKE_SOURCE_DIR}/tests/windows/fake_ffmpeg.cpp)
set_target_properties(kamora-fake-ffmpeg PROPERTIES OUTPUT_NAME ffmpeg
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fake-ffmpeg)
