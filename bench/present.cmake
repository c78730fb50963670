# Showing the picture on the GL canvas, both ways of submitting the points.
# It needs a display: run it under xvfb-run; it is no part of the tests.
if(KELVO_BUILD_GUI)
  find_package(benchmark REQUIRED)
  if(NOT TARGET PkgConfig::FOX)
    pkg_check_modules(FOX REQUIRED IMPORTED_TARGET fox)
  endif()
  add_executable(bench_present ${CMAKE_CURRENT_LIST_DIR}/bench_present.cpp
    ${PROJECT_SOURCE_DIR}/gui/frame_presenter.cpp)
  target_link_libraries(bench_present PRIVATE kelvo_render kelvo_core PkgConfig::FOX GL GLU benchmark::benchmark)
endif()
