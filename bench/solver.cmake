find_package(benchmark REQUIRED)
add_executable(bench_solver ${CMAKE_CURRENT_LIST_DIR}/bench_solver.cpp)
target_link_libraries(bench_solver PRIVATE kelvo_core kelvo_scenario_grids benchmark::benchmark)
