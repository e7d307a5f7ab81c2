# The music tests encode their MP3s at run time with the LAME library.
if(TARGET test_music)
  target_link_libraries(test_music PRIVATE mp3lame)
endif()
