vlb_add_bench(bench_stats SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/stats_bench.cpp LIBS vlb_stats)
