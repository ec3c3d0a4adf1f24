# Run by the build for one layer: fails when a file of the layer names a header by a path that climbs
# out of its folder ("../qt/QtClock.h"). The compiler looks beside the including file before the
# include roots, so such a path would reach a layer above around the roots that keep it out.
#   cmake -DFOLDER=src/editor -DSTAMP=file -P CheckLayerIncludes.cmake
file(GLOB sources ${FOLDER}/*.h ${FOLDER}/*.cpp)
set(climbing "")
foreach(source ${sources})
    file(STRINGS ${source} lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"[^\"]*\\.\\.")
    foreach(line ${lines})
        list(APPEND climbing "${source}: ${line}")
    endforeach()
endforeach()
if(climbing)
    list(JOIN climbing "\n  " listed)
    message(FATAL_ERROR "A layer may include only its own folder and the ones below it, by their names:\n  ${listed}")
endif()
file(TOUCH ${STAMP})
