# The browser build (Emscripten: WebAssembly, WebGL 2, Web Audio), configured with emcmake. SDL2
# and mpg123 come from the prefix scripts/build-deps fills (KAMORA_DEPS, static); WebGL 2 and the
# EGL SDL creates its context with are Emscripten's own. The program is the show alone: its entry
# (web/web_main.cpp) also offers still frames and frame times on the virtual clock to the page's
# test and bench modes; the setup dialog is the page's start screen (web/dialog_page.cpp).
if(NOT KAMORA_GL STREQUAL gles)
  message(FATAL_ERROR "The browser build draws on WebGL 2: configure it with -DKAMORA_GL=gles")
endif()
set(KAMORA_DEPS "${CMAKE_SOURCE_DIR}/build-web/deps" CACHE PATH "The WebAssembly libraries' prefix")
if(NOT EXISTS "${KAMORA_DEPS}/lib/pkgconfig/sdl2.pc")
  message(FATAL_ERROR "No WebAssembly libraries in ${KAMORA_DEPS}: run scripts/build-deps web")
endif()
set(KAMORA_WEB ON)

# Only these pkg-config files, never the build machine's. WebGL 2 needs no library of ours.
set(KAMORA_PC_DIR "${CMAKE_BINARY_DIR}/pkgconfig")
file(WRITE "${KAMORA_PC_DIR}/glesv2.pc" "Name: glesv2\nDescription: WebGL 2 (Emscripten's)\nVersion: 3.0\n")
set(ENV{PKG_CONFIG_LIBDIR} "${KAMORA_DEPS}/lib/pkgconfig:${KAMORA_PC_DIR}")
set(ENV{PKG_CONFIG_PATH} "")
list(APPEND CMAKE_FIND_ROOT_PATH "${KAMORA_DEPS}")

# No Dear ImGui dialog windows on a page; the page's module instead.
set(KAMORA_EXCLUDED_SOURCES ".*/src/(setup/dialog_(ui|frame)|platform/dialog_(window|renderer))\\.cpp$")
set(KAMORA_PLATFORM_SOURCES ${CMAKE_SOURCE_DIR}/src/platform/web/web_page.cpp)

# -O2: the link's optimiser takes far less time than at -O3, and the show waits on WebGL, not on
# its own code.
foreach(language C CXX)
  string(REPLACE "-O3" "-O2" CMAKE_${language}_FLAGS_RELEASE "${CMAKE_${language}_FLAGS_RELEASE}")
endforeach()

# emcc's JavaScript tools need the machine's node modules (acorn).
set(ENV{NODE_PATH} /usr/share/nodejs)

file(WRITE "${CMAKE_BINARY_DIR}/library-functions.json" "[\"$autoResumeAudioContext\", \"$dynCall\"]\n")

function(kamora_web_targets)
  add_executable(kamora web/web_main.cpp web/dialog_page.cpp tools/lib/virtual_show.cpp
                 tools/lib/frame_pixels.cpp tools/lib/slot_bench.cpp)
  target_include_directories(kamora PRIVATE tools)
  target_link_libraries(kamora PRIVATE kamora_core)
  target_link_options(kamora PRIVATE
    -O2
    -sMIN_WEBGL_VERSION=2 -sMAX_WEBGL_VERSION=2
    # The swap waits for the display's refresh inside the show's own main loop.
    -sASYNCIFY -sASYNCIFY_STACK_SIZE=65536
    -sALLOW_MEMORY_GROWTH=1 -sINITIAL_MEMORY=64MB
    -sENVIRONMENT=web
    # A fresh instance for every play (the page's Play button): fresh state, one canvas each.
    -sMODULARIZE=1 -sEXPORT_NAME=KaMoraShow -sEXPORTED_RUNTIME_METHODS=[FS]
    -sEXPORTED_FUNCTIONS=[_main,_KaMoraMusicPosition,_malloc]
    # SDL's audio code expects these (Emscripten's own SDL port adds them); from a file, as their
    # names start with a dollar the shell would take.
    "-sDEFAULT_LIBRARY_FUNCS_TO_INCLUDE=@${CMAKE_BINARY_DIR}/library-functions.json")
endfunction()
