# Set-ups of any size shared by the tests and the benchmarks.
add_library(kelvo_scenario_grids STATIC ${CMAKE_CURRENT_LIST_DIR}/scenario_grids.cpp)
target_include_directories(kelvo_scenario_grids PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(kelvo_scenario_grids PUBLIC kelvo_core)
