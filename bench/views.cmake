vlb_add_bench(bench_views SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/WidgetsBenchMain.cpp ${CMAKE_CURRENT_SOURCE_DIR}/views_bench.cpp LIBS vlb_views Qt6::Widgets)
