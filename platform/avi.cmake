# The headless platform layer: AVI container and compressors (FFmpeg), the
# drawing surface and its text (FreeType through fontconfig), packed bitmaps.
pkg_check_modules(KELVO_AV REQUIRED IMPORTED_TARGET libavformat libavcodec libavutil)
pkg_check_modules(KELVO_TEXT REQUIRED IMPORTED_TARGET freetype2 fontconfig)

add_library(kelvo_platform STATIC
  ${CMAKE_CURRENT_LIST_DIR}/avi_file.cpp
  ${CMAKE_CURRENT_LIST_DIR}/avi_header_patch.cpp
  ${CMAKE_CURRENT_LIST_DIR}/compress_options.cpp
  ${CMAKE_CURRENT_LIST_DIR}/draw_surface.cpp
  ${CMAKE_CURRENT_LIST_DIR}/frame_encoder.cpp
  ${CMAKE_CURRENT_LIST_DIR}/packed_dib.cpp
  ${CMAKE_CURRENT_LIST_DIR}/pixel_convert.cpp
  ${CMAKE_CURRENT_LIST_DIR}/text_font.cpp)
target_include_directories(kelvo_platform PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(kelvo_platform PRIVATE PkgConfig::KELVO_AV PkgConfig::KELVO_TEXT)
