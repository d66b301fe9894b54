vlb_add_bench(bench_graph_texts SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/WidgetsBenchMain.cpp ${CMAKE_CURRENT_SOURCE_DIR}/graph_texts_bench.cpp LIBS vlb_windows vlb_graph Qt6::Widgets)
