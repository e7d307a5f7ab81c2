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

# The sound back end on a real sound server (ctest -L pulse): each case starts a private
# PulseAudio daemon of its own and plays in real time for the whole show's length, so the cases
# are few and run side by side.
add_executable(test_pulse music/pulse/pulse_daemon.cpp music/pulse/pulse_sync_test.cpp
  music/pulse/pulse_show_test.cpp music/pulse/pulse_device_test.cpp music/tone_mp3.cpp faults/show_run.cpp faults/fault_cases.cpp test_environment.cpp)
target_include_directories(test_pulse PRIVATE music music/pulse faults)
target_link_libraries(test_pulse PRIVATE kamora_test_support GTest::gtest_main mp3lame)
add_dependencies(test_pulse kamora)
# A high cost starts them first, side by side, before the suite's busiest tests load the machine.
gtest_discover_tests(test_pulse DISCOVERY_MODE PRE_TEST
  PROPERTIES ENVIRONMENT "${KAMORA_TEST_ENV}" LABELS pulse TIMEOUT 420 COST 10000)
