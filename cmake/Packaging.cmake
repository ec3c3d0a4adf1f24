# What `cmake --install` places beside the program.
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

dmx_gzipped_file(docs/dmx-scene-editor.1 dmx-scene-editor.1 dmx_man_page)
dmx_gzipped_file(cmake/debian/changelog.in changelog dmx_changelog)
install(FILES ${dmx_man_page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES README.md cmake/debian/copyright ${dmx_changelog} DESTINATION ${DMX_DOC_DIR})
