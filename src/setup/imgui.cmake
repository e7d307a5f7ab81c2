# Dear ImGui for the dialogs before the show: Debian's library, with its SDL2 back end and its
# OpenGL 2 one (OpenGL ES 3 one for KAMORA_GL=gles) compiled into the dialog module from the
# sources the package ships.
pkg_check_modules(IMGUI REQUIRED IMPORTED_TARGET imgui)
pkg_check_modules(FREETYPE IMPORTED_TARGET freetype2)
if(NOT KAMORA_IMGUI_BACKENDS)  # a cross build names the folder of its own ImGui build
  set(KAMORA_IMGUI_BACKENDS /usr/share/doc/libimgui-dev/examples/backends)
  set(KAMORA_IMGUI_BACKEND_HEADERS /usr/include/imgui/backends)
endif()
set(KAMORA_IMGUI_GL_BACKEND imgui_impl_opengl2.cpp)
if(KAMORA_GL STREQUAL gles)
  set(KAMORA_IMGUI_GL_BACKEND imgui_impl_opengl3.cpp)
endif()
set(KAMORA_IMGUI_BACKEND_SOURCES
  ${KAMORA_IMGUI_BACKENDS}/imgui_impl_sdl.cpp
  ${KAMORA_IMGUI_BACKENDS}/${KAMORA_IMGUI_GL_BACKEND})
target_sources(kamora_core PRIVATE ${KAMORA_IMGUI_BACKEND_SOURCES})
# The back ends are ImGui's code, not ours: built without our warning set.
set_source_files_properties(${KAMORA_IMGUI_BACKEND_SOURCES} PROPERTIES COMPILE_OPTIONS "-w")
target_include_directories(kamora_core PRIVATE ${KAMORA_IMGUI_BACKEND_HEADERS})
target_link_libraries(kamora_core PUBLIC PkgConfig::IMGUI)
if(FREETYPE_FOUND)
  # Debian's libimgui.a also holds the FreeType font builder.
  target_link_libraries(kamora_core PUBLIC PkgConfig::FREETYPE)
endif()
