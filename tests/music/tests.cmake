# The music tests encode their MP3s at run time with the LAME library.
if(TARGET test_music)
  target_link_libraries(test_music PRIVATE mp3lame)
endif()

# kamora-tool play plays in real time; its test bounds it from below only, so it may share the
# machine.
add_executable(test_music_play music/play/play_command_test.cpp music/tone_mp3.cpp test_environment.cpp)
target_include_directories(test_music_play PRIVATE music)
target_link_libraries(test_music_play PRIVATE kamora_test_support GTest::gtest_main mp3lame)
add_dependencies(test_music_play kamora-tool)
gtest_discover_tests(test_music_play DISCOVERY_MODE PRE_TEST
  PROPERTIES ENVIRONMENT "${KAMORA_TEST_ENV}" LABELS music)

# The sound back end and the show on a real sound server (ctest -L soundserver): each case starts
# a private PipeWire (or, where it is installed, PulseAudio) of its own, and the longest play in
# real time for the show's length. A high cost starts them first, side by side, before the
# suite's busiest tests load the machine. The normal build's run covers them: a sanitizer build
# would only play the same sound again.
if(NOT KAMORA_SANITIZE)
  file(GLOB sound_server_sources CONFIGURE_DEPENDS music/soundserver/*.cpp)
  add_executable(test_soundserver ${sound_server_sources} music/tone_mp3.cpp faults/show_run.cpp
    faults/fault_cases.cpp test_environment.cpp)
  target_include_directories(test_soundserver PRIVATE music music/soundserver faults)
  target_link_libraries(test_soundserver PRIVATE kamora_test_support GTest::gtest_main mp3lame)
  add_dependencies(test_soundserver kamora)
  gtest_discover_tests(test_soundserver DISCOVERY_MODE PRE_TEST
    PROPERTIES ENVIRONMENT "${KAMORA_TEST_ENV}" LABELS soundserver TIMEOUT 600 COST 10000)
endif()
