# The editor programs kelvo-en and kelvo-pl.

# Toolkit-free pieces of the editor: both text tables, numbers typed into
# fields, and where the grid lies on the canvas. Built without the GUI too,
# so their tests run under the sanitizers.
add_library(kelvo_editor_logic STATIC
  ${CMAKE_CURRENT_LIST_DIR}/ui_text_en.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ui_text_pl.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ui_text_keys.cpp
  ${CMAKE_CURRENT_LIST_DIR}/decimal_text.cpp
  ${CMAKE_CURRENT_LIST_DIR}/grid_view.cpp
  ${CMAKE_CURRENT_LIST_DIR}/grid_directory.cpp
)
target_include_directories(kelvo_editor_logic PUBLIC ${CMAKE_CURRENT_LIST_DIR})

if(KELVO_BUILD_GUI)
  pkg_check_modules(FOX REQUIRED IMPORTED_TARGET fox)
  find_program(RESWRAP reswrap-1.6 REQUIRED)
  find_package(X11 REQUIRED)

  # The icons, compiled in from the GIF files at build time.
  set(icon_dir ${PROJECT_SOURCE_DIR}/icons)
  set(icon_names app new load save calculate about about_picture)
  set(icon_args)
  set(icon_files)
  foreach(name ${icon_names})
    list(APPEND icon_args -r ${name}_gif ${icon_dir}/${name}.gif)
    list(APPEND icon_files ${icon_dir}/${name}.gif)
  endforeach()
  set(icons_h ${CMAKE_CURRENT_BINARY_DIR}/generated/editor_icons.h)
  set(icons_cpp ${CMAKE_CURRENT_BINARY_DIR}/generated/editor_icons.cpp)
  add_custom_command(
    OUTPUT ${icons_h} ${icons_cpp}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/generated
    COMMAND ${RESWRAP} -i -o ${icons_h} ${icon_args}
    COMMAND ${RESWRAP} -e -o ${icons_cpp} ${icon_args}
    DEPENDS ${icon_files}
    COMMENT "Wrapping the editor icons"
    VERBATIM)

  # The icons and the about picture, for every window that shows them.
  add_library(kelvo_icons STATIC
    ${CMAKE_CURRENT_LIST_DIR}/icon_set.cpp
    ${icons_h}
    ${icons_cpp})
  target_include_directories(kelvo_icons PUBLIC ${CMAKE_CURRENT_LIST_DIR}
    PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/generated)
  target_link_libraries(kelvo_icons PUBLIC PkgConfig::FOX)

  # Every window of the editor, compiled once for both programs.
  add_library(kelvo_editor STATIC
    ${CMAKE_CURRENT_LIST_DIR}/grid_editor_window.cpp
    ${CMAKE_CURRENT_LIST_DIR}/grid_editor_canvas.cpp
    ${CMAKE_CURRENT_LIST_DIR}/grid_editor_files.cpp
    ${CMAKE_CURRENT_LIST_DIR}/new_grid.cpp
    ${CMAKE_CURRENT_LIST_DIR}/about_fox.cpp
    ${PROJECT_SOURCE_DIR}/render/grid_drawing.cpp
  )
  target_include_directories(kelvo_editor PUBLIC
    ${CMAKE_CURRENT_LIST_DIR} ${PROJECT_SOURCE_DIR}/render)
  target_link_libraries(kelvo_editor PUBLIC
    kelvo_icons kelvo_editor_logic kelvo_gridfile kelvo_core PkgConfig::FOX GL GLU X11::X11)
  # Without ./Grids the Load dialog opens on the installed examples, found
  # from the program's own folder so that any installation prefix works.
  include(GNUInstallDirs)
  file(RELATIVE_PATH installed_grids
    ${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR} ${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/kelvo/Grids)
  target_compile_definitions(kelvo_editor PRIVATE KELVO_INSTALLED_GRIDS="${installed_grids}")
  # "&Calculate It" opens the simulation window (run/window.cmake).
  target_link_libraries(kelvo_editor PUBLIC kelvo_simwindow)

  # One program per language, differing only in the table they show.
  foreach(lang en pl)
    add_executable(kelvo-${lang}
      ${CMAKE_CURRENT_LIST_DIR}/main.cpp
      ${CMAKE_CURRENT_LIST_DIR}/ui_text_choice.cpp)
    target_link_libraries(kelvo-${lang} PRIVATE kelvo_editor)
    set_target_properties(kelvo-${lang} PROPERTIES
      RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
  endforeach()
  target_compile_definitions(kelvo-pl PRIVATE KELVO_UI_POLISH)
endif()
