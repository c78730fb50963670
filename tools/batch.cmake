# kelvo-batch: the headless runner, and the program that writes the example
# grids. The runner's parts live in a library so the tests can reach them.
add_library(kelvo_batch STATIC
  ${CMAKE_CURRENT_LIST_DIR}/batch_frames.cpp
  ${CMAKE_CURRENT_LIST_DIR}/batch_options.cpp
  ${CMAKE_CURRENT_LIST_DIR}/batch_run.cpp
  ${CMAKE_CURRENT_LIST_DIR}/csv_dump.cpp
  ${CMAKE_CURRENT_LIST_DIR}/progress_meter.cpp
)
target_include_directories(kelvo_batch PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(kelvo_batch PUBLIC kelvo_gridfile kelvo_core kelvo_simrun)

add_executable(kelvo-batch ${CMAKE_CURRENT_LIST_DIR}/batch_main.cpp)
target_link_libraries(kelvo-batch PRIVATE kelvo_batch)
set_target_properties(kelvo-batch PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})

add_library(kelvo_example_grids STATIC ${CMAKE_CURRENT_LIST_DIR}/example_grids.cpp)
target_include_directories(kelvo_example_grids PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(kelvo_example_grids PUBLIC kelvo_gridfile kelvo_core)

add_executable(make_example_grids ${CMAKE_CURRENT_LIST_DIR}/make_example_grids.cpp)
target_link_libraries(make_example_grids PRIVATE kelvo_example_grids)
set_target_properties(make_example_grids PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
