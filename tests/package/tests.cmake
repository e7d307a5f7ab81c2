# bench_package: decode and encode speed of the LZ coder through the real file path. A Google
# Benchmark program, run by hand (build/tests/bench_package), never by ctest.
find_package(benchmark QUIET)
if(benchmark_FOUND)
  add_executable(bench_package ${CMAKE_CURRENT_SOURCE_DIR}/package/bench/package_bench.cpp)
  target_link_libraries(bench_package PRIVATE kamora_core benchmark::benchmark)
endif()
