vlb_add_bench(bench_number_text SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/number_text_bench.cpp LIBS vlb_platform)
