# The installed program (ctest -L install) runs the show that `cmake --install` put into a
# temporary DESTDIR, with the fault matrix's helpers, and checks the Debian package.
if(TARGET test_install)
  target_sources(test_install PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/faults/show_run.cpp
                                      ${CMAKE_CURRENT_SOURCE_DIR}/faults/fault_cases.cpp)
  target_include_directories(test_install PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/faults)
  add_dependencies(test_install kamora kamora-tool kamora_manuals)
  if(TARGET kamora_package)
    add_dependencies(test_install kamora_package kamora_icons)
  endif()
endif()
