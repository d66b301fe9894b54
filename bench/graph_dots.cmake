vlb_add_bench(bench_graph_dots SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/graph_dots_bench.cpp LIBS vlb_graph Qt6::Widgets)
