# The simulation run: the toolkit-free cycle and frame saving shared by the
# simulation window and kelvo-batch, then the window itself.
add_library(kelvo_simrun STATIC
  ${CMAKE_CURRENT_LIST_DIR}/simulation_run.cpp
  ${CMAKE_CURRENT_LIST_DIR}/frame_saving.cpp)
target_include_directories(kelvo_simrun PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(kelvo_simrun PUBLIC kelvo_core kelvo_render kelvo_ppm kelvo_avi)

if(KELVO_BUILD_GUI)
  if(NOT TARGET PkgConfig::FOX)
    pkg_check_modules(FOX REQUIRED IMPORTED_TARGET fox)
  endif()
  # The window with its GL presentation; its texts and icon come from the
  # editor's libraries, the table itself from the program that links it.
  add_library(kelvo_simwindow STATIC
    ${CMAKE_CURRENT_LIST_DIR}/calculate_window.cpp
    ${PROJECT_SOURCE_DIR}/render/frame_presenter.cpp)
  target_include_directories(kelvo_simwindow PUBLIC ${CMAKE_CURRENT_LIST_DIR}
    ${PROJECT_SOURCE_DIR}/render ${PROJECT_SOURCE_DIR}/app)
  target_link_libraries(kelvo_simwindow PUBLIC
    kelvo_simrun kelvo_platform_gui kelvo_icons kelvo_editor_logic PkgConfig::FOX GL GLU)
endif()
