vlb_add_bench(bench_views_edit SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/WidgetsBenchMain.cpp ${CMAKE_CURRENT_SOURCE_DIR}/views_edit_bench.cpp LIBS vlb_views vlb_graph vlb_windows Qt6::Widgets)
