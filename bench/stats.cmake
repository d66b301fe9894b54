vlb_add_bench(bench_stats SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/stats_bench.cpp LIBS vlb_stats
  SMOKE "BM_(LoadTables|normsDist|normInv|ShapiroWilk5000Cached|KolmogorovSmirnov/10000|KolmogorovSmirnovSorted/100000|SortAscending/5000|KolmogorovDurbinLargest/4000/264|KolmogorovSmirnovAfterStringHash/100000)$")
