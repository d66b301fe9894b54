vlb_add_bench(bench_platform_plist SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/platform_plist.cpp LIBS vlb_platform)
