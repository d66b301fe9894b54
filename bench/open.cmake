vlb_add_bench(bench_open SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/WidgetsBenchMain.cpp ${CMAKE_CURRENT_SOURCE_DIR}/open_bench.cpp LIBS vlb_windows vlb_graph Qt6::Widgets
  SMOKE "/(1000|50)/")
