vlb_add_bench(bench_document SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/document_bench.cpp LIBS vlb_document Qt6::Widgets
  SMOKE "BM_(SaveDocument|OpenDocument|TypedCell|MemoryOf100TypedCells|TextToTableToColumnNumbers|FromCharsOverTheSameBytes)/")
