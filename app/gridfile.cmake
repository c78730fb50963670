# The grid file codec: byte logic only, no toolkit.
add_library(kelvo_gridfile STATIC ${CMAKE_CURRENT_LIST_DIR}/grid_file.cpp)
target_include_directories(kelvo_gridfile PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(kelvo_gridfile PUBLIC kelvo_core)
