# What `cmake --install` places beside the program, and the Debian package CPack makes of it
# (scripts/package). The version comes from project() alone.
set(DMX_PACKAGE_NAME dmx-scene-editor)
set(DMX_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/${DMX_PACKAGE_NAME})

# Debian keeps manual pages and changelogs compressed, without a time stamp so that the
# package does not change from one build to the next.
function(dmx_gzipped_file source_file output_name result_var)
    set(configured ${CMAKE_CURRENT_BINARY_DIR}/packaging/${output_name})
    configure_file(${source_file} ${configured} @ONLY)
    add_custom_command(OUTPUT ${configured}.gz
        COMMAND gzip -9 -n -f -k ${configured}
        DEPENDS ${configured}
        COMMENT "Compressing ${output_name}")
    add_custom_target(${result_var} ALL DEPENDS ${configured}.gz)
    set(${result_var} ${configured}.gz PARENT_SCOPE)
endfunction()

# The Debian changelog dates its entry as e-mail does, from the release date beside project().
execute_process(COMMAND ${CMAKE_COMMAND} -E env LC_ALL=C date --utc --date=${DMX_RELEASE_DATE}
        "+%a, %d %b %Y %H:%M:%S +0000"
    OUTPUT_VARIABLE DMX_RELEASE_DATE_DEBIAN OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)

dmx_gzipped_file(docs/dmx-scene-editor.1 dmx-scene-editor.1 dmx_man_page)
dmx_gzipped_file(cmake/debian/changelog.in changelog dmx_changelog)
install(FILES ${dmx_man_page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES README.md cmake/debian/copyright ${dmx_changelog} DESTINATION ${DMX_DOC_DIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${DMX_PACKAGE_NAME})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor and programmer for a serial DMX512 scene controller")
# Lines of the long description stay within 80 columns on a terminal.
set(CPACK_PACKAGE_DESCRIPTION
    "Shows every scene of a DMX512 scene controller on a serial port at once in
a grid, one row per channel and one column per scene, and sends every change of
a level to the controller straight away, so the lights follow the editing.
Scenes can be read back from the controller, stored in its memory, reset, saved
to text files and loaded again. Without a controller only the grid changes.")
set(CPACK_PACKAGE_CONTACT "DMX Scene Editor Maintainers <maintainers@dmx-scene-editor.invalid>")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://dmx-scene-editor.invalid/")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries come from the binary itself. Named here are what it loads only at run time: the
# toolkit's platform plugins (the X11 one among them, which Qt's GUI library merely recommends)
# and the font the window design is drawn in.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-liberation")
include(CPack)
