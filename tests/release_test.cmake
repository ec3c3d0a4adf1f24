# scripts/release --check on clones of the committed tree: a clean clone may make its release; one
# with a change not committed, or whose CHANGELOG.md names another version or date than
# CMakeLists.txt, is refused with a message that says why.
#   cmake -DSOURCE=<the project's tree> -DWORK=<scratch folder> -P release_test.cmake
include(${CMAKE_CURRENT_LIST_DIR}/support/ScriptRow.cmake)
find_program(GIT git)
execute_process(COMMAND ${GIT} -C ${SOURCE} rev-parse --is-inside-work-tree RESULT_VARIABLE not_git
                OUTPUT_QUIET ERROR_QUIET)
if(NOT GIT OR not_git)
    message("Skipped: ${SOURCE} is no git tree")
    return()
endif()
set(clone ${WORK}/clone)

function(git)
    execute_process(COMMAND ${GIT} -C ${clone} -c user.name=test -c user.email=test@test.invalid ${ARGN}
                    COMMAND_ERROR_IS_FATAL ANY OUTPUT_QUIET)
endfunction()

# A fresh clone of the committed tree.
function(fresh_clone)
    file(REMOVE_RECURSE ${WORK})
    execute_process(COMMAND ${GIT} clone -q ${SOURCE} ${clone} COMMAND_ERROR_IS_FATAL ANY)
endfunction()

# Replaces a regular expression in a file of the clone.
function(edit file pattern replacement)
    file(READ ${clone}/${file} text)
    string(REGEX REPLACE "${pattern}" "${replacement}" text "${text}")
    file(WRITE ${clone}/${file} "${text}")
endfunction()

# One row: scripts/release --check on the clone as it is.
function(row name expected_status expected_output)
    run_row("${name}" ${expected_status} "${expected_output}" COMMAND bash ${clone}/scripts/release --check)
endfunction()

fresh_clone()
file(STRINGS ${clone}/CMakeLists.txt project REGEX "^project\\(")
string(REGEX REPLACE ".* VERSION ([^ )]+).*" "\\1" version "${project}")
row("a clean clone" 0 "Release ${version} of ")

file(APPEND ${clone}/README.md "A change.\n")
row("a changed file" 1 "not committed:\n M README.md")
fresh_clone()
file(WRITE ${clone}/notes.txt "Not added.\n")
row("a file not added" 1 "not committed:\n?? notes.txt")

fresh_clone()
edit(CHANGELOG.md "\n## \\[[0-9][^]]*\\]" "\n## [99.0]")
git(commit -q -a -m "Another version in the changelog")
row("another version in CHANGELOG.md" 1 "newest release is \"## [99.0] - ")
fresh_clone()
edit(CMakeLists.txt "set\\(DMX_RELEASE_DATE [^)]*\\)" "set(DMX_RELEASE_DATE 2000-01-01)")
git(commit -q -a -m "Another date in CMakeLists.txt")
row("another date in CMakeLists.txt" 1 "has version ${version} of 2000-01-01")
file(REMOVE_RECURSE ${WORK})
