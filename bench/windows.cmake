vlb_add_bench(bench_windows SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/WidgetsBenchMain.cpp ${CMAKE_CURRENT_SOURCE_DIR}/windows_bench.cpp LIBS vlb_windows vlb_graph Qt6::Widgets
  SMOKE "BM_GraphToDrawnWindow")
