# The fault matrix (ctest -L faults) runs the show, packs its packages with the toolbox and acts
# on the show's window as a viewer would (kamora-x-poke: Escape, the close box).
if(TARGET test_faults)
  find_package(X11 REQUIRED)
  add_executable(kamora-x-poke ${CMAKE_CURRENT_SOURCE_DIR}/faults/x_poke/x_poke.cpp)
  target_link_libraries(kamora-x-poke PRIVATE X11::X11)
  set_target_properties(kamora-x-poke PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
  add_dependencies(test_faults kamora kamora-tool kamora-x-poke)
endif()
