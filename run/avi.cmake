# The AVI writer: the title sequence, the frames and the output state. No
# toolkit; messages and the compressor choice come in through hooks.
add_library(kelvo_avi STATIC
  ${CMAKE_CURRENT_LIST_DIR}/avi_messages.cpp
  ${CMAKE_CURRENT_LIST_DIR}/avi_title.cpp
  ${CMAKE_CURRENT_LIST_DIR}/avi_writer.cpp)
target_include_directories(kelvo_avi PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(kelvo_avi PUBLIC kelvo_platform kelvo_render)
