# The toolbox's own routines (PNG, WAV, the virtual show) are linked into test_tools.
if(TARGET test_tools)
  target_link_libraries(test_tools PRIVATE kamora_toolbox)
endif()
