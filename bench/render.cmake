find_package(benchmark REQUIRED)
# The straightforward rendering of the tests runs beside the program's for
# comparison.
add_executable(bench_render ${CMAKE_CURRENT_LIST_DIR}/bench_render.cpp
  ${PROJECT_SOURCE_DIR}/tests/render/reference_render.cpp)
target_include_directories(bench_render PRIVATE ${PROJECT_SOURCE_DIR}/tests/render)
target_link_libraries(bench_render PRIVATE kelvo_render kelvo_io kelvo_core kelvo_scenario_grids benchmark::benchmark)
