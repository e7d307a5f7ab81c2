# The soundtrack's synthesizer is also tested module by module: its sources, all but the
# program's main, are compiled into test_content.
if(TARGET test_content)
  file(GLOB KAMORA_MUSIC_MODULES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/content/music/*.cpp)
  list(FILTER KAMORA_MUSIC_MODULES EXCLUDE REGEX ".*/render_music\\.cpp$")
  target_sources(test_content PRIVATE ${KAMORA_MUSIC_MODULES})
  target_include_directories(test_content PRIVATE ${CMAKE_SOURCE_DIR}/content/music)
  target_link_libraries(test_content PRIVATE mp3lame)
endif()
