# The third-party notices (GENERATOR) made from a toolkit's kept sources of a few files: they name
# each third-party part that a shipped library compiled, included (through another include too) or
# embedded, and no part that was not built or went into a library not shipped; an entry that names
# its own files counts only when one of those was taken in. A target the notices do not know stops
# them.
#   cmake -DGENERATOR=<ThirdPartyNotices.cmake> -DWORK=<scratch folder> -P notices_generator_test.cmake
include(${CMAKE_CURRENT_LIST_DIR}/support/ScriptRow.cmake)
set(kept ${WORK}/licence-sources)
set(source /qt-source)
file(REMOVE_RECURSE ${WORK})

function(kept_file path text)
    file(WRITE ${kept}/${path} "${text}")
endfunction()

# A third-party part in a folder of its own, with its licence text.
function(part folder name)
    kept_file(${folder}/qt_attribution.json "{ \"Name\": \"${name}\", \"Copyright\": \"Copyright ${name}\",
        \"LicenseId\": \"MIT\", \"License\": \"MIT\", \"LicenseFile\": \"LICENSE\" ${ARGN} }")
    kept_file(${folder}/LICENSE "Licence of ${name}\n")
endfunction()

# A compile command of a target's object from a source file, as the toolkit's build writes one.
function(compiled target file)
    set(command "g++ -I${source}/src/3rdparty/headers/include -o src/CMakeFiles/${target}.dir/x.obj -c ${file}")
    set_property(GLOBAL APPEND_STRING PROPERTY commands
        "{\n  \"directory\": \"/qt-build\",\n  \"command\": \"${command}\",\n  \"file\": \"${file}\"\n},\n")
endfunction()

kept_file(facts.cmake "set(QT_SOURCE_ROOT ${source})\nset(QT_BUILD_ROOT /qt-build)\nset(QT_VERSION 6.4.2)
set(QT_DEBIAN_VERSION 6.4.2+dfsg-10)\nset(WINE_DEBIAN_VERSION 8.0)\n")
foreach(licence BSD-3-Clause LGPL-3.0-only GPL-3.0-only)
    kept_file(LICENSES/${licence}.txt "Copyright (c) <year> <owner>.\nText of ${licence}\n")
endforeach()
kept_file(src/entrypoint/entry.cpp "// Copyright entry point\n")
kept_file(src/3rdparty/wintab/wintab.h "/* Copyright tablet headers */\n")
file(WRITE ${WORK}/lgpl21.txt "Text of LGPL-2.1\n")

part(src/3rdparty/compiled "Compiled part")
part(src/3rdparty/included "Included part")
part(src/3rdparty/deeper "Part included by an include")
part(src/3rdparty/headers "Part found in an include folder")
part(src/3rdparty/embedded "Embedded part")
part(src/3rdparty/unused "Unused part")
part(src/3rdparty/tested "Part of a library not shipped")
part(src/gui "Borrowed file taken in" ", \"Files\": \"borrowed.cpp\"")
kept_file(src/corelib/qt_attribution.json "[{ \"Name\": \"Borrowed header left out\", \"Path\": \"other_p.h\",
    \"Copyright\": \"\", \"LicenseId\": \"MIT\", \"License\": \"MIT\" }]")
kept_file(files.txt "src/corelib/a.cpp\nsrc/corelib/other_p.h\nsrc/gui/g.cpp\nsrc/gui/borrowed.cpp
src/3rdparty/compiled/c.c\nsrc/3rdparty/included/i.h\nsrc/3rdparty/deeper/d.h\nsrc/3rdparty/headers/include/h.h
src/3rdparty/embedded/e.icc\nsrc/3rdparty/unused/u.c\nsrc/3rdparty/tested/t.c\n")
kept_file(includes.txt "src/corelib/a.cpp:#include \"../3rdparty/included/i.h\"
src/corelib/a.cpp:#include <h.h>\nsrc/3rdparty/included/i.h:#include \"../deeper/d.h\"
src/gui/g.cpp:#include \"borrowed.cpp\"\nsrc/3rdparty/unused/u.c:#include \"../deeper/d.h\"\n")
kept_file(build/src/gui/.rcc/data.qrc "<RCC><qresource><file alias=\"e\">${source}/src/3rdparty/embedded/e.icc</file>
</qresource></RCC>\n")
compiled(Core ${source}/src/corelib/a.cpp)
compiled(Gui ${source}/src/gui/g.cpp)
compiled(Gui /qt-build/src/gui/.rcc/qrc_data.cpp)
compiled(BundledZLIB ${source}/src/3rdparty/compiled/c.c)
compiled(Test ${source}/src/3rdparty/tested/t.c)
compiled(EntryPointImplementation ${source}/src/entrypoint/entry.cpp)
get_property(commands GLOBAL PROPERTY commands)
kept_file(compile_commands.json "[\n${commands}]\n")

file(WRITE ${WORK}/input.cmake "set(KEPT ${kept})\nset(PRODUCT \"Editor 1.0\")\nset(QT_FILES Qt6Core.dll)
set(RUNTIMES \"\")\nset(LGPL21 ${WORK}/lgpl21.txt)\n")
execute_process(COMMAND ${CMAKE_COMMAND} -DINPUT=${WORK}/input.cmake -DOUTPUT=${WORK}/notices.txt -P ${GENERATOR}
                RESULT_VARIABLE status ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "The notices were not written: ${errors}")
endif()
file(READ ${WORK}/notices.txt notices)

# One row: whether the notices hold a text.
function(row name text expected)
    string(FIND "${notices}" "${text}" at)
    if(at LESS 0)
        set(found NO)
    else()
        set(found YES)
    endif()
    if(NOT found STREQUAL expected)
        message(SEND_ERROR "${name}: \"${text}\" found ${found}, ${expected} expected")
    else()
        message(STATUS "${name}: passed")
    endif()
endfunction()

row("a compiled part" "Compiled part\nCopyright Compiled part\n" YES)
row("its licence's text" "Licence of Compiled part" YES)
row("an included part" "Included part\n" YES)
row("a part included by an include" "Part included by an include\n" YES)
row("a part found in an include folder" "Part found in an include folder\n" YES)
row("an embedded part" "Embedded part\n" YES)
row("a borrowed file taken in" "Borrowed file taken in\n" YES)
row("a part not built" "Unused part" NO)
row("a part of a library not shipped" "Part of a library not shipped" NO)
row("a borrowed header not taken in" "Borrowed header left out" NO)
row("the entry point's copyright" "Copyright entry point\n\nText of BSD-3-Clause" YES)
row("the tablet headers' copyright" "Copyright tablet headers" YES)
row("the toolkit's source" "apt-get source qt6-base=6.4.2+dfsg-10" YES)
row("the shipped library" "\nQt6Core.dll\n" YES)
row("the LGPL and the GPL" "Text of LGPL-3.0-only\n" YES)
row("the GPL" "Text of GPL-3.0-only\n" YES)

# A target of the toolkit's build that the notices do not know.
compiled(Sql ${source}/src/3rdparty/unused/u.c)
get_property(commands GLOBAL PROPERTY commands)
kept_file(compile_commands.json "[\n${commands}]\n")
run_row("an unknown target" 1 "into Sql, which the notices do not know"
        COMMAND ${CMAKE_COMMAND} -DINPUT=${WORK}/input.cmake -DOUTPUT=${WORK}/notices.txt -P ${GENERATOR})
file(REMOVE_RECURSE ${WORK})
