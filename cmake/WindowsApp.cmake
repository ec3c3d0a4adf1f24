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
foreach(runtime libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${runtime}
        OUTPUT_VARIABLE runtime_path OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT IS_ABSOLUTE "${runtime_path}")
        message(FATAL_ERROR "The compiler does not know where ${runtime} is")
    endif()
    install(FILES ${runtime_path} DESTINATION .)
endforeach()
install(FILES README.md DESTINATION .)
