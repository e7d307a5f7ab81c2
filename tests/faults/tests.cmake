# The fault matrix (ctest -L faults) runs the show and packs its packages with the toolbox.
if(TARGET test_faults)
  add_dependencies(test_faults kamora kamora-tool)
endif()
