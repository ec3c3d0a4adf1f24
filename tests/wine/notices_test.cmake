# The check of the shipped libraries against the notices (CHECK), on the staged program folder that
# scripts/windows names (DMX_WINDOWS_STAGE): the folder passes, and a folder whose notices miss a
# library, or that has none, fails with the name of what is missing.
#   cmake -DCHECK=<NoticesNameEveryLibrary.cmake> -P notices_test.cmake
set(stage "$ENV{DMX_WINDOWS_STAGE}")
if(NOT IS_DIRECTORY "${stage}")
    message(FATAL_ERROR "DMX_WINDOWS_STAGE names no staged program folder")
endif()

include(${CMAKE_CURRENT_LIST_DIR}/../support/ScriptRow.cmake)

# One row: the check on a folder.
function(row name folder expected_status expected_message)
    run_row("${name}" ${expected_status} "${expected_message}" COMMAND ${CMAKE_COMMAND} -DSTAGE=${folder} -P ${CHECK})
endfunction()

row("the staged folder" "${stage}" 0 "")

# A folder with the stage's notices and libraries, to which a library is added or its notices lost.
set(copy "${CMAKE_CURRENT_BINARY_DIR}/notices_test_stage")
file(REMOVE_RECURSE "${copy}")
file(GLOB_RECURSE libraries RELATIVE "${stage}" "${stage}/*.dll")
foreach(library IN LISTS libraries)
    cmake_path(GET library PARENT_PATH folder)
    file(MAKE_DIRECTORY "${copy}/${folder}")
    file(TOUCH "${copy}/${library}")
endforeach()
file(COPY "${stage}/THIRD-PARTY-NOTICES.txt" DESTINATION "${copy}")
row("the same libraries" "${copy}" 0 "")
file(TOUCH "${copy}/platforms/qunnamed.dll")
row("a plug-in not named" "${copy}" 1 "names no licence for platforms/qunnamed.dll")
file(REMOVE "${copy}/platforms/qunnamed.dll")
# Part of a named library's name is no name.
file(TOUCH "${copy}/Core.dll")
row("a library named only within another's name" "${copy}" 1 "names no licence for Core.dll")
file(REMOVE "${copy}/THIRD-PARTY-NOTICES.txt")
row("no notices" "${copy}" 1 "holds no THIRD-PARTY-NOTICES.txt")
file(REMOVE_RECURSE "${copy}")
