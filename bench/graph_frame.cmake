vlb_add_bench(bench_graph_frame SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/WidgetsBenchMain.cpp ${CMAKE_CURRENT_SOURCE_DIR}/graph_frame_bench.cpp LIBS vlb_graph Qt6::Widgets)
