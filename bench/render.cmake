find_package(benchmark REQUIRED)
add_executable(bench_render ${CMAKE_CURRENT_LIST_DIR}/bench_render.cpp)
target_link_libraries(bench_render PRIVATE kelvo_render kelvo_ppm kelvo_core benchmark::benchmark)
