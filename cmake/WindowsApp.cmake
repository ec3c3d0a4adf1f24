# The Windows program: a window program without a console, with the icon built in, installed as a
# folder that runs where it is unpacked, with the toolkit's libraries and plug-ins and the
# compiler's run-time libraries beside the program.
set_target_properties(dmx-scene-editor PROPERTIES WIN32_EXECUTABLE ON)

# The icon is drawn from the same picture as the desktop entry's.
find_program(DMX_IMAGEMAGICK_CONVERT convert REQUIRED)
set(dmx_icon ${CMAKE_CURRENT_BINARY_DIR}/dmx-scene-editor.ico)
add_custom_command(OUTPUT ${dmx_icon}
    COMMAND ${DMX_IMAGEMAGICK_CONVERT} -density 384 -background none
        ${CMAKE_CURRENT_SOURCE_DIR}/data/dmx-scene-editor.svg -define icon:auto-resize=256,48,32,16 ${dmx_icon}
    DEPENDS data/dmx-scene-editor.svg
    VERBATIM)
set(DMX_ICON ${dmx_icon})

# The version of the file properties and of the installer is the project's, as the Debian package's.
foreach(part MAJOR MINOR PATCH TWEAK)
    if(NOT PROJECT_VERSION_${part})
        set(PROJECT_VERSION_${part} 0)
    endif()
endforeach()
set(DMX_VERSION_QUAD
    ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.${PROJECT_VERSION_TWEAK})
string(REPLACE "." "," DMX_VERSION_COMMAS ${DMX_VERSION_QUAD})
set(dmx_resource ${CMAKE_CURRENT_BINARY_DIR}/dmx-scene-editor.rc)
configure_file(cmake/windows/dmx-scene-editor.rc.in ${dmx_resource} @ONLY)
set_source_files_properties(${dmx_resource} PROPERTIES OBJECT_DEPENDS ${dmx_icon})
target_sources(dmx-scene-editor PRIVATE ${dmx_resource})
# The editor marks that it runs with a mutex of this name, in the namespace of all sessions, which
# the installer and the uninstaller look for.
set(DMX_RUNNING_MUTEX "Global\\${DMX_PRODUCT_NAME} is running")
string(REPLACE "\\" "\\\\" dmx_running_mutex_literal "${DMX_RUNNING_MUTEX}")
target_compile_definitions(dmx-scene-editor PRIVATE DMX_RUNNING_MUTEX="${dmx_running_mutex_literal}")
# What the installer takes from the build (scripts/windows compiles cmake/windows/installer.nsi).
configure_file(cmake/windows/product.nsh.in ${CMAKE_CURRENT_BINARY_DIR}/product.nsh @ONLY)

install(TARGETS dmx-scene-editor RUNTIME DESTINATION .)
install(FILES $<TARGET_FILE:Qt6::Core> $<TARGET_FILE:Qt6::Gui> $<TARGET_FILE:Qt6::Widgets> DESTINATION .)
install(FILES $<TARGET_FILE:Qt6::QWindowsIntegrationPlugin> DESTINATION platforms)
install(FILES $<TARGET_FILE:Qt6::QWindowsVistaStylePlugin> DESTINATION styles)
# The toolkit's files as the notices name them, in the folders they are installed to.
set(dmx_qt_files $<TARGET_FILE_NAME:Qt6::Core> $<TARGET_FILE_NAME:Qt6::Gui> $<TARGET_FILE_NAME:Qt6::Widgets>
    platforms/$<TARGET_FILE_NAME:Qt6::QWindowsIntegrationPlugin>
    styles/$<TARGET_FILE_NAME:Qt6::QWindowsVistaStylePlugin>)
# The compiler's run-time libraries, each with the licence it is passed on under.
set(dmx_runtimes
    "libstdc++-6.dll|GPL-3.0-or-later WITH GCC-exception-3.1"
    "libgcc_s_seh-1.dll|GPL-3.0-or-later WITH GCC-exception-3.1"
    "libwinpthread-1.dll|MIT (expat), parts BSD-3-Clause and public domain")
set(dmx_runtime_notices "")
foreach(runtime IN LISTS dmx_runtimes)
    string(REGEX REPLACE "\\|.*" "" name "${runtime}")
    string(REGEX REPLACE ".*\\|" "" licence "${runtime}")
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${name}
        OUTPUT_VARIABLE runtime_path OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT IS_ABSOLUTE "${runtime_path}")
        message(FATAL_ERROR "The compiler does not know where ${name} is")
    endif()
    install(FILES ${runtime_path} DESTINATION .)
    list(APPEND dmx_runtime_notices "${name}|${runtime_path}|${licence}")
endforeach()

# The third-party notices, made from what scripts/windows keeps of the toolkit's source and build.
set(dmx_licence_sources ${QT6_INSTALL_PREFIX}/licence-sources)
if(NOT EXISTS ${dmx_licence_sources}/facts.cmake)
    message(FATAL_ERROR "The toolkit in ${QT6_INSTALL_PREFIX} kept no licence sources; scripts/windows "
                        "gathers them")
endif()
set(dmx_notices ${CMAKE_CURRENT_BINARY_DIR}/THIRD-PARTY-NOTICES.txt)
set(dmx_notices_input ${CMAKE_CURRENT_BINARY_DIR}/notices-input.cmake)
file(GENERATE OUTPUT ${dmx_notices_input} CONTENT
"set(KEPT \"${dmx_licence_sources}\")
set(PRODUCT \"${DMX_PRODUCT_NAME} ${PROJECT_VERSION}\")
set(QT_FILES \"${dmx_qt_files}\")
set(RUNTIMES \"${dmx_runtime_notices}\")
set(LGPL21 /usr/share/common-licenses/LGPL-2.1)
")
add_custom_command(OUTPUT ${dmx_notices}
    COMMAND ${CMAKE_COMMAND} -DINPUT=${dmx_notices_input} -DOUTPUT=${dmx_notices}
        -P ${CMAKE_CURRENT_SOURCE_DIR}/cmake/windows/ThirdPartyNotices.cmake
    DEPENDS cmake/windows/ThirdPartyNotices.cmake ${dmx_notices_input} ${dmx_licence_sources}/facts.cmake
    COMMENT "Writing the third-party notices"
    VERBATIM)
add_custom_target(dmx_notices ALL DEPENDS ${dmx_notices})
install(FILES README.md ${dmx_notices} DESTINATION .)
