vlb_add_bench(bench_graph_dots
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/WidgetsBenchMain.cpp ${CMAKE_CURRENT_SOURCE_DIR}/graph_dots_bench.cpp ${CMAKE_SOURCE_DIR}/tests/graph/FrameLayoutFixture.cpp
          ${CMAKE_SOURCE_DIR}/tests/graph/PlotLayoutFixture.cpp
  LIBS vlb_graph Qt6::Widgets)
target_include_directories(bench_graph_dots PRIVATE ${CMAKE_SOURCE_DIR}/tests/graph)
