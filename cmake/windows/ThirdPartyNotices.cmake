# Writes the third-party notices of the Windows program: every library shipped beside it with its
# licence, the third-party code compiled into the toolkit's libraries, where the toolkit's source
# is to be had, and the full texts of the licences. Run by the build (cmake/WindowsApp.cmake):
#   cmake -DINPUT=<notices-input.cmake> -DOUTPUT=<file> -P ThirdPartyNotices.cmake
# INPUT sets KEPT, what scripts/windows keeps of the toolkit's source and build (see
# dmx_keep_licence_sources); PRODUCT, its name and version; QT_FILES, the toolkit's files shipped;
# RUNTIMES, the compiler's run-time libraries as file|path|licence; LGPL21, that licence's text.
cmake_minimum_required(VERSION 3.25)
include(${INPUT})
include(${KEPT}/facts.cmake)

# The toolkit's build targets: those whose objects make the shipped libraries (the bundled
# third-party libraries are linked into Qt6Core.dll and Qt6Gui.dll), those that are built for the
# tests alone, and the entry point that every toolkit program for Windows links in.
set(shipped_targets Core Gui Widgets QWindowsIntegrationPlugin QWindowsVistaStylePlugin
    BundledFreetype BundledHarfbuzz BundledLibpng BundledPcre2 BundledZLIB)
set(unshipped_targets Test QMinimalIntegrationPlugin QOffscreenIntegrationPlugin FbSupportPrivate
    DeviceDiscoverySupportPrivate)
set(program_target EntryPointImplementation)

# A path of the toolkit's source or build relative to its root; empty when it lies elsewhere.
function(relative_to root path result)
    cmake_path(SET path NORMALIZE "${path}")
    cmake_path(IS_PREFIX root "${path}" NORMALIZE inside)
    set(relative "")
    if(inside)
        cmake_path(RELATIVE_PATH path BASE_DIRECTORY "${root}" OUTPUT_VARIABLE relative)
    endif()
    set(${result} "${relative}" PARENT_SCOPE)
endfunction()

# Marks a source file as taken into a shipped library, and every folder above it.
function(mark_read file)
    set("read_${file}" 1 PARENT_SCOPE)
    cmake_path(GET file PARENT_PATH folder)
    while(folder)
        set("read_dir_${folder}" 1 PARENT_SCOPE)
        cmake_path(GET folder PARENT_PATH folder)
    endwhile()
endfunction()

# The files of the source, and what each includes, as "<" or "\"" and the name written.
file(STRINGS ${KEPT}/files.txt source_files)
foreach(file IN LISTS source_files)
    set("known_${file}" 1)
    cmake_path(GET file PARENT_PATH folder)
    set("known_dir_${folder}" 1)
endforeach()
file(STRINGS ${KEPT}/includes.txt include_lines)
foreach(line IN LISTS include_lines)
    if(line MATCHES "^([^:]+):.*include[ \t]*([<\"])([^>\"]+)")
        list(APPEND "includes_${CMAKE_MATCH_1}" "${CMAKE_MATCH_2}${CMAKE_MATCH_3}")
    endif()
endforeach()

# What each target compiled, with its include folders in the source; the resources it embeds.
file(STRINGS ${KEPT}/compile_commands.json command_lines REGEX "^  \"(command|file)\": ")
set(command "")
set(program_sources "")
foreach(line IN LISTS command_lines)
    if(line MATCHES "^  \"command\": ")
        set(command "${line}")
        continue()
    endif()
    string(REGEX REPLACE "^  \"file\": \"(.*)\",?$" "\\1" compiled "${line}")
    if(NOT command MATCHES "CMakeFiles/([^/ ]+)\\.dir/")
        message(FATAL_ERROR "The toolkit's compile command of ${compiled} names no target")
    endif()
    set(target ${CMAKE_MATCH_1})
    relative_to("${QT_SOURCE_ROOT}" "${compiled}" source)
    if(target STREQUAL program_target)
        list(APPEND program_sources ${source})
    elseif(target IN_LIST shipped_targets)
        if(source)
            list(APPEND "sources_${target}" ${source})
            string(REGEX MATCHALL "-I[^ ]+" flags "${command}")
            foreach(flag IN LISTS flags)
                string(SUBSTRING "${flag}" 2 -1 folder)
                relative_to("${QT_SOURCE_ROOT}" "${folder}" folder)
                if(folder AND NOT folder IN_LIST "folders_${target}")
                    list(APPEND "folders_${target}" ${folder})
                endif()
            endforeach()
        elseif(compiled MATCHES "/\\.rcc/qrc_([^/]+)\\.cpp$")
            relative_to("${QT_BUILD_ROOT}" "${compiled}" generated)
            cmake_path(GET generated PARENT_PATH folder)
            file(STRINGS ${KEPT}/build/${folder}/${CMAKE_MATCH_1}.qrc resources REGEX "<file")
            foreach(resource IN LISTS resources)
                string(REGEX REPLACE ".*>(.*)</file>.*" "\\1" resource "${resource}")
                relative_to("${QT_SOURCE_ROOT}" "${resource}" resource)
                mark_read(${resource})
            endforeach()
        endif()
    elseif(NOT target IN_LIST unshipped_targets)
        message(FATAL_ERROR "The toolkit's build compiled ${compiled} into ${target}, which the notices "
                            "do not know: add it to the shipped or the unshipped targets")
    endif()
endforeach()

# Data that a tool outside src/ generates into the source from third-party material: the tool's
# folder holds the attribution, the generated file is what the library takes in.
set(generated_data "util/gradientgen|src/gui/painting/webgradients.cpp")

# Every source file a shipped target compiled or included, found as the compiler finds it: a
# quoted name beside the including file first, then in the target's include folders.
foreach(target IN LISTS shipped_targets)
    set(queue ${sources_${target}})
    while(queue)
        list(POP_FRONT queue file)
        if(DEFINED "seen_${target}_${file}")
            continue()
        endif()
        set("seen_${target}_${file}" 1)
        mark_read(${file})
        cmake_path(GET file PARENT_PATH beside)
        foreach(include IN LISTS "includes_${file}")
            string(SUBSTRING "${include}" 0 1 quote)
            string(SUBSTRING "${include}" 1 -1 name)
            set(folders ${folders_${target}})
            if(quote STREQUAL "\"")
                list(PREPEND folders ${beside})
            endif()
            foreach(folder IN LISTS folders)
                cmake_path(SET candidate NORMALIZE "${folder}/${name}")
                if(DEFINED "known_${candidate}")
                    list(APPEND queue ${candidate})
                    break()
                endif()
            endforeach()
        endforeach()
    endwhile()
endforeach()

foreach(pair IN LISTS generated_data)
    string(REPLACE "|" ";" pair "${pair}")
    list(GET pair 0 tool)
    list(GET pair 1 generated)
    if(DEFINED "read_${generated}")
        mark_read(${tool}/generated)
    endif()
endforeach()

# The text of a kept file, followed by the texts it points to as `docs/...` when they were kept.
function(kept_text file result)
    if(NOT EXISTS ${KEPT}/${file})
        message(FATAL_ERROR "The licence text ${file} was not kept with the toolkit")
    endif()
    file(READ ${KEPT}/${file} text)
    cmake_path(GET file PARENT_PATH folder)
    string(REGEX MATCHALL "`docs/[^`]+`" pointed "${text}")
    foreach(name IN LISTS pointed)
        string(REPLACE "`" "" name "${name}")
        if(EXISTS ${KEPT}/${folder}/${name})
            file(READ ${KEPT}/${folder}/${name} more)
            string(APPEND text "\n${name}:\n\n${more}")
        endif()
    endforeach()
    set(${result} "${text}" PARENT_SCOPE)
endfunction()

# A field of an attribution entry; empty when it has none.
function(entry_field json index key result)
    string(JSON value ERROR_VARIABLE missing GET "${json}" ${index} ${key})
    if(missing)
        set(value "")
    endif()
    set(${result} "${value}" PARENT_SCOPE)
endfunction()

# An attribution counts when its folder holds a file that was compiled, included or embedded into
# a shipped library; one that names its own files or folder (Path, Files) counts only when one of
# those was.
file(GLOB_RECURSE attributions RELATIVE ${KEPT} ${KEPT}/*/qt_attribution.json)
# Each entry's text is kept in a variable of its own (licence texts hold brackets and semicolons,
# which a list would take apart), listed by name for sorting.
set(third_party "")
foreach(attribution IN LISTS attributions)
    cmake_path(GET attribution PARENT_PATH folder)
    file(READ ${KEPT}/${attribution} json)
    string(JSON type TYPE "${json}")
    # An array of entries, or one entry alone ("-").
    set(indices "-")
    if(type STREQUAL ARRAY)
        string(JSON count LENGTH "${json}")
        math(EXPR last "${count} - 1")
        set(indices "")
        foreach(index RANGE ${last})
            list(APPEND indices ${index})
        endforeach()
    endif()
    foreach(index IN LISTS indices)
        if(index STREQUAL "-")
            set(index "")
        endif()
        entry_field("${json}" "${index}" Path path)
        entry_field("${json}" "${index}" Files files)
        string(REPLACE " " ";" parts "${path} ${files}")
        set(own_parts "")
        foreach(part IN LISTS parts)
            if(part AND (DEFINED "known_${folder}/${part}" OR DEFINED "known_dir_${folder}/${part}"))
                list(APPEND own_parts ${part})
            endif()
        endforeach()
        set(counts OFF)
        if(own_parts)
            foreach(part IN LISTS own_parts)
                if(DEFINED "read_${folder}/${part}" OR DEFINED "read_dir_${folder}/${part}")
                    set(counts ON)
                endif()
            endforeach()
        elseif(DEFINED "read_dir_${folder}")
            set(counts ON)
        endif()
        if(NOT counts)
            continue()
        endif()
        foreach(key Name Version Copyright License LicenseId LicenseFile Homepage)
            entry_field("${json}" "${index}" ${key} ${key})
        endforeach()
        set(entry "${Name}")
        if(Version)
            string(APPEND entry ", version ${Version}")
        endif()
        string(APPEND entry "\n${Copyright}\nLicence: ${License} (${LicenseId})\n")
        if(Homepage)
            string(APPEND entry "Home page: ${Homepage}\n")
        endif()
        set(licence_file "")
        if(LicenseFile)
            cmake_path(SET licence_file NORMALIZE "${folder}/${LicenseFile}")
        endif()
        list(LENGTH third_party number)
        set("third_party_${number}" "${entry}")
        set("third_party_licence_${number}" "${licence_file}")
        list(APPEND third_party "${Name}|${number}")
    endforeach()
endforeach()
list(SORT third_party CASE INSENSITIVE)

# The copyright lines at the head of kept source files.
function(copyright_lines result)
    set(lines "")
    foreach(file IN LISTS ARGN)
        file(STRINGS ${KEPT}/${file} found REGEX "Copyright")
        foreach(line IN LISTS found)
            string(REGEX REPLACE "^[ /*]+" "" line "${line}")
            if(NOT line IN_LIST lines)
                list(APPEND lines "${line}")
            endif()
        endforeach()
    endforeach()
    list(JOIN lines "\n" text)
    set(${result} "${text}" PARENT_SCOPE)
endfunction()

# The compiler's run-time libraries: each with the Debian package it comes from, whose copyright
# file carries the licences.
set(runtime_lines "")
set(runtime_packages "")
foreach(runtime IN LISTS RUNTIMES)
    string(REPLACE "|" ";" runtime "${runtime}")
    list(GET runtime 0 name)
    list(GET runtime 1 path)
    list(GET runtime 2 licence)
    file(REAL_PATH ${path} path)
    execute_process(COMMAND dpkg-query -S ${path} OUTPUT_VARIABLE owner COMMAND_ERROR_IS_FATAL ANY)
    string(REGEX REPLACE ":.*" "" package "${owner}")
    execute_process(COMMAND dpkg-query -W -f=\${Version} ${package} OUTPUT_VARIABLE version
                    COMMAND_ERROR_IS_FATAL ANY)
    string(APPEND runtime_lines "${name}\n    ${licence}; from Debian's package ${package} ${version}\n")
    if(NOT "${package} ${version}" IN_LIST runtime_packages)
        list(APPEND runtime_packages "${package} ${version}")
    endif()
endforeach()

list(GET program_sources 0 entry_point)
copyright_lines(entry_point_copyright ${entry_point})
file(GLOB wine_headers RELATIVE ${KEPT} ${KEPT}/src/3rdparty/wintab/*.h)
copyright_lines(wine_copyright ${wine_headers})
# The licence's text without its line for the copyright, which the entry point's own replaces.
file(READ ${KEPT}/LICENSES/BSD-3-Clause.txt bsd)
string(REGEX REPLACE "^[^\n]*<year>[^\n]*\n+" "" bsd "${bsd}")

set(rule "================================================================================")
set(text "${PRODUCT} for Windows: third-party notices
${rule}

The program is shipped with libraries of other projects. Each file that comes from them is named
here with its licence; the sections below say where their source is to be had and give the full
licence texts.

dmx-scene-editor.exe
    the program; it contains the toolkit's entry point for Windows programs (section 2) and the
    start-up code of MinGW-w64 (section 5)
")
foreach(file IN LISTS QT_FILES)
    string(APPEND text "${file}\n    Qt ${QT_VERSION}, LGPL-3.0-only (section 1)\n")
endforeach()
string(APPEND text "${runtime_lines}
The toolkit's libraries contain third-party code (section 3), and the platform plug-in
platforms/qwindows.dll two headers of the Wine project (section 4).


1. Qt ${QT_VERSION}
${rule}

The toolkit's libraries and plug-ins listed above are Qt ${QT_VERSION}, the toolkit the program is
built with, by the contributors of the Qt project, each of whom holds the copyright of their part.
They are used under the GNU Lesser General Public License version 3 (LGPL-3.0-only), given in
full in section 6 together with the GNU General Public License version 3, whose additional
permissions it is.

Their source is the upstream archive of Debian's source package qt6-base, version
${QT_DEBIAN_VERSION} (qt6-base_${QT_VERSION}+dfsg.orig.tar.xz), without Debian's patches. On Debian
12, \"apt-get source qt6-base=${QT_DEBIAN_VERSION}\" fetches it; Debian keeps every version at
https://snapshot.debian.org/package/qt6-base/. The program's source archive, published with each
release, holds the script that builds them, scripts/windows: the options of the build, and the two
changes it makes to that source: it adds the tablet headers of section 4, which Debian's archive
leaves out, and builds the dynamic OpenGL loader of the Windows plug-in only with OpenGL.

The program loads these libraries from its own folder, and no others. You may replace them with
your own build of Qt ${QT_VERSION}, changed as you like, made with the MinGW-w64 compiler and the
same options: put your Qt6Core.dll, Qt6Gui.dll and Qt6Widgets.dll in place of these, and your
plug-ins in platforms/ and styles/.


2. The toolkit's entry point in dmx-scene-editor.exe
${rule}

The program links the toolkit's entry point for Windows programs (Qt ${QT_VERSION},
${entry_point}), used under the BSD-3-Clause licence:

${entry_point_copyright}

${bsd}


3. Third-party code in the toolkit's libraries
${rule}

The toolkit's build compiled these parts into the libraries of section 1, or included them in the
files it compiled. Each is given with its copyright and licence as the toolkit's source states
them. An include that a platform condition leaves out is counted too, so a part or two may be
named that the Windows libraries do not hold.
")
# Each licence text once, with the first part under it.
foreach(entry IN LISTS third_party)
    string(REGEX REPLACE "\\|.*" "" name "${entry}")
    string(REGEX REPLACE ".*\\|" "" number "${entry}")
    set(licence_file "${third_party_licence_${number}}")
    string(APPEND text "\n--------------------------------------------------------------------------------\n"
                       "${third_party_${number}}")
    if(DEFINED "given_${licence_file}")
        string(APPEND text "The licence's text is given above, with ${given_${licence_file}}.\n")
    elseif(licence_file)
        kept_text(${licence_file} licence)
        string(APPEND text "\n${licence}")
        set("given_${licence_file}" "${name}")
    endif()
endforeach()

file(READ ${LGPL21} lgpl21)
string(APPEND text "

4. The tablet headers in platforms/qwindows.dll
${rule}

Two headers of the Wine project (wintab.h and pktdef.h), from Debian's package libwine-dev
${WINE_DEBIAN_VERSION} (source package wine), declare the tablet interface for the Windows platform
plug-in. They are used under the GNU Lesser General Public License version 2.1 or later:

${wine_copyright}

${lgpl21}

5. The compiler's run-time libraries and start-up code
${rule}

The GCC run-time libraries (libstdc++-6.dll, libgcc_s_seh-1.dll) are under the GNU General Public
License version 3 with the GCC Runtime Library Exception version 3.1; winpthreads
(libwinpthread-1.dll) and the start-up code that MinGW-w64 links into every program and library
are under the licences of the MinGW-w64 project. Debian's copyright files of the packages they come
from follow in full; they carry the exception and the licences' texts or name them.
")
foreach(package IN LISTS runtime_packages)
    string(REGEX REPLACE " .*" "" name "${package}")
    file(READ /usr/share/doc/${name}/copyright copyright)
    string(APPEND text "\n--------------------------------------------------------------------------------\n"
                       "Debian's package ${package}: /usr/share/doc/${name}/copyright\n\n${copyright}")
endforeach()
file(READ ${KEPT}/LICENSES/LGPL-3.0-only.txt lgpl3)
file(READ ${KEPT}/LICENSES/GPL-3.0-only.txt gpl3)
string(APPEND text "

6. GNU Lesser General Public License version 3 and GNU General Public License version 3
${rule}

${lgpl3}
--------------------------------------------------------------------------------

${gpl3}")
file(WRITE ${OUTPUT} "${text}")
