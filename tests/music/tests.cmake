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

# The sound back end and the show on a real sound server (ctest -L soundserver): each case runs
# beside a private PipeWire (or, where it is installed, PulseAudio) of its own, started and stopped
# by with_sound_server.sh; a setup whose packages are missing is skipped. The sync and the show play
# in real time for the show's length but need little of the machine: a high cost starts them first,
# side by side. The normal build's run covers them: a sanitizer build would only play the same sound
# again.
if(NOT KAMORA_SANITIZE)
  set(sound_server_tests music/soundserver)
  file(GLOB sound_server_sources CONFIGURE_DEPENDS ${sound_server_tests}/*.cpp)
  add_executable(test_soundserver ${sound_server_sources} music/tone_mp3.cpp faults/show_run.cpp
    faults/fault_cases.cpp test_environment.cpp)
  target_include_directories(test_soundserver PRIVATE music faults)
  target_link_libraries(test_soundserver PRIVATE kamora_test_support GTest::gtest_main mp3lame)
  add_dependencies(test_soundserver kamora)
  set(with_sound_server bash ${CMAKE_CURRENT_SOURCE_DIR}/${sound_server_tests}/with_sound_server.sh)
  foreach(setup pipewire pipewire_pulse pulseaudio)
    foreach(case TheReportedPositionIsTheSoundHeard:10000 TheWholeShowEndsAfterItsDeviceWentAway:10000
                 AListedNumberOpensThatDeviceAfterAnotherWentAway:1 LosingTheDeviceKeepsThePositionOnTheClock:1)
      string(REPLACE ":" ";" parts ${case})
      list(GET parts 0 name)
      list(GET parts 1 cost)
      add_test(NAME SoundServer.${setup}.${name}
        COMMAND ${with_sound_server} ${setup} $<TARGET_FILE:test_soundserver> --gtest_filter=${name}.*)
      set_tests_properties(SoundServer.${setup}.${name} PROPERTIES ENVIRONMENT "${KAMORA_TEST_ENV}"
        LABELS soundserver SKIP_RETURN_CODE 77 TIMEOUT 600 COST ${cost})
    endforeach()
  endforeach()
  add_test(NAME SoundServer.EveryProcessEndsWithTheTestThatFailed
    COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/${sound_server_tests}/cleanup_test.sh
      ${CMAKE_CURRENT_SOURCE_DIR}/${sound_server_tests}/with_sound_server.sh $<TARGET_FILE:test_soundserver>)
  set_tests_properties(SoundServer.EveryProcessEndsWithTheTestThatFailed PROPERTIES
    ENVIRONMENT "${KAMORA_TEST_ENV}" LABELS soundserver SKIP_RETURN_CODE 77)
  add_test(NAME SoundServer.TheHarnessWorksInAnotherLanguage
    COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/${sound_server_tests}/other_language_test.sh
      ${CMAKE_CURRENT_SOURCE_DIR}/${sound_server_tests}/with_sound_server.sh $<TARGET_FILE:test_soundserver>)
  set_tests_properties(SoundServer.TheHarnessWorksInAnotherLanguage PROPERTIES
    ENVIRONMENT "${KAMORA_TEST_ENV}" LABELS soundserver SKIP_RETURN_CODE 77)
endif()
