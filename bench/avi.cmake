add_executable(bench_avi ${CMAKE_CURRENT_LIST_DIR}/bench_avi.cpp)
target_link_libraries(bench_avi PRIVATE kelvo_render kelvo_io benchmark::benchmark)
