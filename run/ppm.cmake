# The PPM frame writer: plain C++, reads the picture only.
add_library(kelvo_ppm STATIC ${CMAKE_CURRENT_LIST_DIR}/ppm_writer.cpp)
target_include_directories(kelvo_ppm PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(kelvo_ppm PUBLIC kelvo_render)
