# Writes the installer's lists of the staged program folder, run by makensis as it compiles the
# installer: INSTALL_LIST copies every file below the folder the installer defines as STAGED,
# PLACE_LIST moves them from there to $INSTDIR with the installer's macro PLACE, UNINSTALL_LIST
# removes them from $INSTDIR, and FOLDER_LIST then their folders if nothing else is left in them,
# so that files the user put there stay. Also gives the installed size for Apps & Features.
#   cmake -DSTAGE=<folder> -DINSTALL_LIST=<file> -DPLACE_LIST=<file> -DUNINSTALL_LIST=<file>
#         -DFOLDER_LIST=<file> -P InstallerFiles.cmake
file(GLOB_RECURSE files LIST_DIRECTORIES false RELATIVE "${STAGE}" "${STAGE}/*")
file(GLOB_RECURSE folders LIST_DIRECTORIES true RELATIVE "${STAGE}" "${STAGE}/*")
list(REMOVE_ITEM folders ${files})
list(SORT files)
# The deepest folder first, as each must be empty before its parent goes.
list(SORT folders ORDER DESCENDING)

set(install "")
set(place "")
set(uninstall "")
set(remove_folders "")
set(bytes 0)
set(current_folder "-")
foreach(file IN LISTS files)
    get_filename_component(folder "${file}" DIRECTORY)
    if(NOT folder STREQUAL current_folder)
        string(REPLACE "/" "\\" windows_folder "\\${folder}")
        string(REGEX REPLACE "\\\\$" "" windows_folder "${windows_folder}")
        string(APPEND install "SetOutPath \"\${STAGED}${windows_folder}\"\n")
        string(APPEND place "CreateDirectory \"$INSTDIR${windows_folder}\"\n")
        set(current_folder "${folder}")
    endif()
    string(APPEND install "File \"${STAGE}/${file}\"\n")
    string(REPLACE "/" "\\" windows_file "${file}")
    string(APPEND place "!insertmacro PLACE \"${windows_file}\"\n")
    string(APPEND uninstall "Delete \"$INSTDIR\\${windows_file}\"\n")
    file(SIZE "${STAGE}/${file}" size)
    math(EXPR bytes "${bytes} + ${size}")
endforeach()
foreach(folder IN LISTS folders)
    string(REPLACE "/" "\\" windows_folder "${folder}")
    string(APPEND remove_folders "RMDir \"$INSTDIR\\${windows_folder}\"\n")
endforeach()
math(EXPR kilobytes "(${bytes} + 1023) / 1024")
string(APPEND install "!define INSTALLED_SIZE_KB ${kilobytes}\n")

file(WRITE "${INSTALL_LIST}" "${install}")
file(WRITE "${PLACE_LIST}" "${place}")
file(WRITE "${UNINSTALL_LIST}" "${uninstall}")
file(WRITE "${FOLDER_LIST}" "${remove_folders}")
