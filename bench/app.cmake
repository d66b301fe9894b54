vlb_add_bench(bench_app SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/app_bench.cpp LIBS vlb_app)
