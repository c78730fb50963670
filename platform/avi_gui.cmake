# The windowed half of the platform layer: the compressor dialog and the
# message box of the AVI output.
if(KELVO_BUILD_GUI)
  if(NOT TARGET PkgConfig::FOX)
    pkg_check_modules(FOX REQUIRED IMPORTED_TARGET fox)
  endif()
  add_library(kelvo_platform_gui STATIC
    ${CMAKE_CURRENT_LIST_DIR}/avi_message_box.cpp
    ${CMAKE_CURRENT_LIST_DIR}/compressor_dialog.cpp)
  target_include_directories(kelvo_platform_gui PUBLIC ${CMAKE_CURRENT_LIST_DIR})
  target_link_libraries(kelvo_platform_gui PUBLIC kelvo_platform PkgConfig::FOX)
endif()
