vlb_add_bench(bench_outline
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/outline_bench.cpp ${CMAKE_SOURCE_DIR}/tests/outline/OutlineFixtures.cpp
  LIBS vlb_outline vlb_document vlb_app vlb_platform)
target_include_directories(bench_outline PRIVATE ${CMAKE_SOURCE_DIR}/tests/outline)
