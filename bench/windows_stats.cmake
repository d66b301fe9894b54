vlb_add_bench(bench_windows_stats SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/WidgetsBenchMain.cpp ${CMAKE_CURRENT_SOURCE_DIR}/windows_stats_bench.cpp LIBS vlb_windows Qt6::Widgets)
