# Installing the register like any desktop program, and its Debian package:
#   cmake --install build --prefix /usr/local        or        cpack --config build/CPackConfig.cmake
# An installed copy keeps no data beside its executable: the defaults go to share/tarvel, from
# where each trainee's own data folder is filled at the first start.
include(GNUInstallDirs)

set(TARVEL_PACKAGING ${CMAKE_CURRENT_SOURCE_DIR}/packaging)

install(TARGETS tarvel RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

list(TRANSFORM TARVEL_SAMPLE_EXERCISES PREPEND ${CMAKE_CURRENT_SOURCE_DIR}/data/exercises/
     OUTPUT_VARIABLE TARVEL_EXERCISES)
list(TRANSFORM TARVEL_DATA_FILES PREPEND ${CMAKE_CURRENT_SOURCE_DIR}/data/
     OUTPUT_VARIABLE TARVEL_DATA_PATHS)
install(FILES ${TARVEL_DATA_PATHS} DESTINATION ${CMAKE_INSTALL_DATADIR}/tarvel)
# The format of the exercise files goes beside them, for the instructor who writes new ones; it
# is copied into each trainee's folder with them, where the chooser, reading only *.toml,
# passes it by.
if(TARVEL_EXERCISES)
    install(FILES ${TARVEL_EXERCISES} ${CMAKE_CURRENT_SOURCE_DIR}/data/exercises/README.md
            DESTINATION ${CMAKE_INSTALL_DATADIR}/tarvel/exercises)
endif()

install(FILES ${TARVEL_PACKAGING}/tarvel.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
# AppStream wants a reverse-domain id, and the metainfo file named after it; the desktop
# entry keeps the program's name and is tied to the id by the metainfo's launchable.
install(FILES ${TARVEL_PACKAGING}/io.github.tarvel.tarvel.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${TARVEL_PACKAGING}/icons/tarvel.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
# The PNG sizes are rendered from the SVG by scripts/render_icons.sh and kept in the source.
foreach(size 16 24 32 48 64 128 256)
    install(FILES ${TARVEL_PACKAGING}/icons/tarvel-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME tarvel.png)
endforeach()

# Debian wants a manual page, the copyright and a changelog, the last two in the doc folder;
# the manual page and the changelog compressed.
set(TARVEL_GZIPPED)
foreach(file tarvel.1 changelog)
    set(gz ${CMAKE_CURRENT_BINARY_DIR}/packaging/${file}.gz)
    add_custom_command(OUTPUT ${gz}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/packaging
        COMMAND gzip -9nc ${TARVEL_PACKAGING}/${file} > ${gz}
        DEPENDS ${TARVEL_PACKAGING}/${file}
        VERBATIM)
    list(APPEND TARVEL_GZIPPED ${gz})
endforeach()
add_custom_target(tarvel_package_docs ALL DEPENDS ${TARVEL_GZIPPED})
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/packaging/tarvel.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${TARVEL_PACKAGING}/copyright ${CMAKE_CURRENT_BINARY_DIR}/packaging/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tarvel)
install(FILES ${TARVEL_PACKAGING}/lintian-overrides
        DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME tarvel)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tarvel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_CONTACT "Tarvel developers <tarvel@users.noreply.c-seed-4c84fb69.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "cashier trainer with the front panel of a cash register")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Tarvel shows the front panel of a Russian fiscal cash register of the AMC-100
kind. The trainee keys amounts, rings up sales in eight departments, totals
receipts, takes cash with change or a card, marks returns, cash in and cash
out, and prints shift reports. The journal is kept across runs, each trainee
in their own data folder.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
# Libraries come from the built binary; what it loads without linking does not show there:
# Qt's window system plugins and the panel's fonts.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-dejavu-core")
# Qt's own buttons and the file dialog in Russian.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
include(CPack)

# The package built, unpacked into a scratch root and its program run from there (the
# Windows packages are made and tried by scripts/windows.sh).
if(TARVEL_BUILD_TESTS AND NOT WIN32)
    add_test(NAME package
             COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/scripts/package_test.sh
                     ${CMAKE_CURRENT_BINARY_DIR} ${CMAKE_CURRENT_SOURCE_DIR} ${PROJECT_VERSION})
    set_tests_properties(package PROPERTIES LABELS package SKIP_RETURN_CODE 77 TIMEOUT 300)
endif()
