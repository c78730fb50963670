# The picture and its elements: plain C++, no toolkit, no GL.
add_library(kelvo_render STATIC
  ${CMAKE_CURRENT_LIST_DIR}/frame_image.cpp
  ${CMAKE_CURRENT_LIST_DIR}/field_resample.cpp
  ${CMAKE_CURRENT_LIST_DIR}/scalar_field.cpp
  ${CMAKE_CURRENT_LIST_DIR}/boundary_cells.cpp
  ${CMAKE_CURRENT_LIST_DIR}/velocity_vectors.cpp
  ${CMAKE_CURRENT_LIST_DIR}/stream_dots.cpp
  ${CMAKE_CURRENT_LIST_DIR}/streamlines.cpp
  ${CMAKE_CURRENT_LIST_DIR}/compose_frame.cpp
  ${CMAKE_CURRENT_LIST_DIR}/render_threads.cpp
)
find_package(Threads REQUIRED)
target_link_libraries(kelvo_render PUBLIC Threads::Threads)
target_include_directories(kelvo_render PUBLIC ${CMAKE_CURRENT_LIST_DIR})
# Only the core's headers are used (grid records, flag bits).
target_include_directories(kelvo_render PUBLIC ${PROJECT_SOURCE_DIR}/core)
