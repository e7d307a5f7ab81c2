# The peer check: lib3ds, a 3DS reader of its own, reads the files the test writer makes and must
# agree with the show's loader. lib3ds is linked here only, never into the show.
find_path(LIB3DS_INCLUDE_DIR lib3ds/file.h)
find_library(LIB3DS_LIBRARY NAMES 3ds 3ds-1)
if(LIB3DS_INCLUDE_DIR AND LIB3DS_LIBRARY)
  file(GLOB peer_sources CONFIGURE_DEPENDS scene/peer/*.cpp)
  add_executable(test_scene_peer ${peer_sources} scene/scene_writer.cpp scene/scene_test_support.cpp)
  target_include_directories(test_scene_peer PRIVATE scene ${LIB3DS_INCLUDE_DIR})
  target_link_libraries(test_scene_peer PRIVATE kamora_test_support ${LIB3DS_LIBRARY} GTest::gtest_main)
  gtest_discover_tests(test_scene_peer DISCOVERY_MODE PRE_TEST
    PROPERTIES ENVIRONMENT "${KAMORA_TEST_ENV}" LABELS scene)
else()
  message(WARNING "lib3ds not found (scripts/install-deps.sh installs it): the peer check is not built")
endif()

# bench_scene: scene loading and picture decoding speed. A Google Benchmark program, run by hand
# (build/tests/bench_scene), never by ctest.
find_package(benchmark QUIET)
if(benchmark_FOUND)
  add_executable(bench_scene scene/bench/scene_bench.cpp scene/scene_writer.cpp)
  target_include_directories(bench_scene PRIVATE scene)
  target_link_libraries(bench_scene PRIVATE kamora_core benchmark::benchmark)
endif()
