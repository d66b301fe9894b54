vlb_add_bench(bench_table SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/WidgetsBenchMain.cpp ${CMAKE_CURRENT_SOURCE_DIR}/table_bench.cpp LIBS vlb_table vlb_windows Qt6::Widgets
  SMOKE "BM_(ImportAndDisplay|FreeImportedTable/0|ShowMillionColumns/10000/|TypedCellWithUndoStep|UndoTypedCell|SetRowHeight|ScrollOnePage|SelectionChange)")
