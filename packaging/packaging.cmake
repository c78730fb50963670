# Installation and the Debian package.
#
#   bin/                          kelvo-en, kelvo-pl (windowed), kelvo-batch,
#                                 kelvo-sweep
#   share/kelvo/Grids/            the example grids
#   share/applications/           one desktop entry per windowed program
#   share/icons/hicolor/NxN/apps/ the application icon
#   share/metainfo/               the AppStream description
#   share/mime/packages/          the grid files' MIME type
#   share/man/man1/               a manual page per program, gzipped
#   share/doc/kelvo/copyright     the licence
#   lib/python3/dist-packages/    the Python module kelvo and its stubs
#
# The desktop entries, the icon, the AppStream file and the MIME type describe the windowed
# programs, so they are installed only when those are built.
include(GNUInstallDirs)

set(KELVO_APP_ID org.example.kelvo)
set(kelvo_packaging_dir ${CMAKE_CURRENT_LIST_DIR})

# Programs.
install(TARGETS kelvo-batch RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
set(kelvo_man_pages kelvo-batch)
# kelvo-sweep runs the kelvo-batch beside it.
install(TARGETS kelvo-sweep RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
list(APPEND kelvo_man_pages kelvo-sweep)
if(TARGET kelvo-en AND TARGET kelvo-pl)
  install(TARGETS kelvo-en kelvo-pl RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  list(APPEND kelvo_man_pages kelvo-en kelvo-pl)
endif()

# Example grids.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/Grids/
  DESTINATION ${CMAKE_INSTALL_DATADIR}/kelvo/Grids
  FILES_MATCHING PATTERN "*.grid")

# Desktop integration.
if(TARGET kelvo-en AND TARGET kelvo-pl)
  install(FILES
    ${kelvo_packaging_dir}/desktop/${KELVO_APP_ID}.en.desktop
    ${kelvo_packaging_dir}/desktop/${KELVO_APP_ID}.pl.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${kelvo_packaging_dir}/${KELVO_APP_ID}.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  # The desktop entries open grid files by this type; Debian's
  # shared-mime-info rebuilds its database from the folder by a trigger.
  install(FILES ${kelvo_packaging_dir}/mime/${KELVO_APP_ID}.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
  install(DIRECTORY ${kelvo_packaging_dir}/icons/hicolor
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons
    FILES_MATCHING PATTERN "*.png")
endif()

# Manual pages, compressed without a name or time stamp so the package is
# the same on every build.
find_program(KELVO_GZIP gzip REQUIRED)
set(kelvo_man_outputs)
foreach(page ${kelvo_man_pages})
  set(source ${kelvo_packaging_dir}/man/${page}.1)
  set(output ${CMAKE_CURRENT_BINARY_DIR}/man/${page}.1.gz)
  add_custom_command(OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/man
    COMMAND sh -c "\"$1\" -9nc \"$2\" > \"$3\"" sh ${KELVO_GZIP} ${source} ${output}
    DEPENDS ${source}
    COMMENT "Compressing the manual page ${page}.1"
    VERBATIM)
  list(APPEND kelvo_man_outputs ${output})
endforeach()
add_custom_target(kelvo_man_pages ALL DEPENDS ${kelvo_man_outputs})
install(FILES ${kelvo_man_outputs} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

install(FILES ${PROJECT_SOURCE_DIR}/LICENSE
  DESTINATION ${CMAKE_INSTALL_DOCDIR} RENAME copyright)

# The Debian package; its library dependencies come from dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kelvo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Kelvo -Fluxeria")
set(CPACK_PACKAGE_CONTACT "Kelvo -Fluxeria maintainers <kelvo@kelvo-fluxeria.example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "two-dimensional viscous flow simulation on a grid you draw")
set(CPACK_PACKAGE_DESCRIPTION
  "Kelvo -Fluxeria simulates two-dimensional, incompressible, viscous flow on a
rectangular grid of cells drawn with the mouse, and shows the velocity and
pressure fields, velocity vectors and streamlines as the flow develops.
Pictures can be saved as PPM images or as an AVI animation.
.
This package holds the English and the Polish windowed programs (kelvo-en,
kelvo-pl), the headless runner kelvo-batch, kelvo-sweep for tables of
runs, the Python module kelvo and example grids.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://kelvo-fluxeria.example.org/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The video libraries are loaded when the first AVI is written, not linked,
# so dpkg-shlibdeps cannot see them: the packages of the major versions the
# build's headers describe.
pkg_check_modules(KELVO_AV_PACKAGES REQUIRED libavformat libavcodec libavutil)
set(kelvo_av_packages)
foreach(library avformat avcodec avutil)
  string(REGEX MATCH "^[0-9]+" major "${KELVO_AV_PACKAGES_lib${library}_VERSION}")
  list(APPEND kelvo_av_packages "lib${library}${major}")
endforeach()
list(JOIN kelvo_av_packages ", " CPACK_DEBIAN_PACKAGE_DEPENDS)
# kelvo-sweep runs its tables with GNU parallel (not needed for Slurm); the
# Python module hands its fields out as numpy arrays.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "parallel, python3, python3-numpy")
include(CPack)
