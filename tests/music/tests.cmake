# The music tests encode their MP3s at run time with the LAME library.
if(TARGET test_music)
  target_link_libraries(test_music PRIVATE mp3lame)
endif()

# kamora-tool play is timed against the wall clock, so it runs alone: on a machine shared with
# other tests its start-up could otherwise be starved for longer than its tolerance.
add_executable(test_music_play music/play/play_command_test.cpp music/tone_mp3.cpp test_environment.cpp)
target_include_directories(test_music_play PRIVATE music)
target_link_libraries(test_music_play PRIVATE kamora_test_support GTest::gtest_main mp3lame)
add_dependencies(test_music_play kamora-tool)
gtest_discover_tests(test_music_play DISCOVERY_MODE PRE_TEST
  PROPERTIES ENVIRONMENT "${KAMORA_TEST_ENV}" LABELS music RUN_SERIAL TRUE)
