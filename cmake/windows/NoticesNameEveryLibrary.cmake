# Fails when a library in the staged program folder is not named in its third-party notices, so that
# none is passed on without its licence. Run by scripts/windows on every staged folder:
#   cmake -DSTAGE=<staged folder> -P NoticesNameEveryLibrary.cmake
set(notices "${STAGE}/THIRD-PARTY-NOTICES.txt")
if(NOT EXISTS "${notices}")
    message(FATAL_ERROR "${STAGE} holds no THIRD-PARTY-NOTICES.txt")
endif()
file(READ "${notices}" text)
file(GLOB_RECURSE libraries RELATIVE "${STAGE}" "${STAGE}/*.[dD][lL][lL]")
set(unnamed "")
foreach(library IN LISTS libraries)
    # The notices name each file on a line of its own.
    string(FIND "${text}" "\n${library}\n" at)
    if(at LESS 0)
        list(APPEND unnamed "${library}")
    endif()
endforeach()
if(unnamed)
    list(JOIN unnamed ", " unnamed)
    message(FATAL_ERROR "THIRD-PARTY-NOTICES.txt names no licence for ${unnamed}")
endif()
