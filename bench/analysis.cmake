vlb_add_bench(bench_analysis SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/analysis_bench.cpp LIBS vlb_analysis
  SMOKE "/100000/1/100$|statisticsAlone|checkStoredResults/0|readAnalysisXml/100$")
