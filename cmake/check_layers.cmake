# Run with -DROOT=<source folder>: fails when a file of a layer includes a
# header of a folder its layer may not use. Each layer sees itself and the
# layers below it:
#
#   app -> ui, desktop -> playback -> playlists -> platform
#
# Build tools (a tools/ folder) are programs of their own, outside the layers.

cmake_minimum_required(VERSION 3.25)

set(allowed_app app ui desktop playback playlists platform)
set(allowed_ui ui playback playlists platform)
set(allowed_desktop desktop playback playlists platform)
set(allowed_playback playback playlists platform)
set(allowed_playlists playlists platform)
set(allowed_platform platform)

set(faults "")
foreach(layer app ui desktop playback playlists platform)
  file(GLOB_RECURSE files ${ROOT}/${layer}/*.cpp ${ROOT}/${layer}/*.h)
  list(FILTER files EXCLUDE REGEX "/tools/")
  foreach(file ${files})
    file(STRINGS ${file} includes REGEX "^#include \"[a-z_]+/")
    foreach(line ${includes})
      string(REGEX MATCH "^#include \"([a-z_]+)/" ignored "${line}")
      if(NOT CMAKE_MATCH_1 IN_LIST allowed_${layer})
        file(RELATIVE_PATH shown ${ROOT} ${file})
        string(APPEND faults "\n  ${shown}: ${line} (${layer} may use: ${allowed_${layer}})")
      endif()
    endforeach()
  endforeach()
endforeach()
if(faults)
  message(FATAL_ERROR "A layer includes a header of a layer above it or beside it:${faults}")
endif()
