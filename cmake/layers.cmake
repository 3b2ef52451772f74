# One static library per layer of the player, each linking only the layers
# below it:
#
#   app -> ui, desktop -> playback -> playlists -> platform
#
# (ui and desktop are clients of playback and playlists; neither knows the
# other). The engine's sound libraries are behind modules of their own
# (CMakeLists.txt). The libraries are position-independent, since the engine
# module takes its part of them.
#
# Linking keeps what a layer calls; lirvan_layer_check keeps what a layer sees:
# it fails the build when a file includes a header of a folder its layer may
# not use (cmake/check_layers.cmake holds the rule).

set(LIRVAN_LAYER_FOLDERS app ui desktop playback playlists platform)
set(LIRVAN_LAYER_FILES)
foreach(folder ${LIRVAN_LAYER_FOLDERS})
  file(GLOB_RECURSE files CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${folder}/*.cpp ${CMAKE_SOURCE_DIR}/${folder}/*.h)
  list(FILTER files EXCLUDE REGEX "/tools/")
  list(APPEND LIRVAN_LAYER_FILES ${files})
endforeach()
set(LIRVAN_LAYER_STAMP ${CMAKE_BINARY_DIR}/layers.checked)
add_custom_command(OUTPUT ${LIRVAN_LAYER_STAMP}
  COMMAND ${CMAKE_COMMAND} -DROOT=${CMAKE_SOURCE_DIR} -P ${CMAKE_SOURCE_DIR}/cmake/check_layers.cmake
  COMMAND ${CMAKE_COMMAND} -E touch ${LIRVAN_LAYER_STAMP}
  DEPENDS ${LIRVAN_LAYER_FILES} ${CMAKE_SOURCE_DIR}/cmake/check_layers.cmake
  COMMENT "Checking that each layer includes only the layers below it")
add_custom_target(lirvan_layer_check DEPENDS ${LIRVAN_LAYER_STAMP})

# lirvan_layer(NAME SOURCES... [PUBLIC deps...] [PRIVATE deps...])
function(lirvan_layer name)
  cmake_parse_arguments(LAYER "" "" "SOURCES;PUBLIC;PRIVATE" ${ARGN})
  add_library(${name} STATIC ${LAYER_SOURCES})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${LAYER_PUBLIC} PRIVATE ${LAYER_PRIVATE})
  set_target_properties(${name} PROPERTIES POSITION_INDEPENDENT_CODE ON)
  add_dependencies(${name} lirvan_layer_check)
endfunction()

# The folder's own sources, not its subfolders'.
function(lirvan_folder_sources out folder)
  file(GLOB files CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${folder}/*.cpp ${CMAKE_SOURCE_DIR}/${folder}/*.h)
  set(${out} ${files} PARENT_SCOPE)
endfunction()

# platform: the layers in place of the platform's services (text files, the
# chooser, message boxes, the executable's folder) and the engine as the
# player reaches it: the interface and the module that brings the real one.
lirvan_folder_sources(platform_sources platform)
list(REMOVE_ITEM platform_sources ${CMAKE_SOURCE_DIR}/platform/system_audio_engine.cpp)
lirvan_layer(lirvan_platform
  SOURCES ${platform_sources}
    platform/engine/module_audio_engine.cpp platform/engine/module_audio_engine.h
    platform/engine/module_loader.cpp platform/engine/module_loader.h platform/engine/engine_module.h
  PUBLIC Qt6::Core
  PRIVATE Qt6::Widgets ${CMAKE_DL_LIBS})

# The engine itself (the sound server's client, decoding and the
# spectrum): linked into the engine module, and by tests that drive it directly.
file(GLOB engine_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/platform/engine/*.cpp
  ${CMAKE_SOURCE_DIR}/platform/engine/*.h)
list(REMOVE_ITEM engine_sources
  ${CMAKE_SOURCE_DIR}/platform/engine/module_audio_engine.cpp
  ${CMAKE_SOURCE_DIR}/platform/engine/module_loader.cpp
  ${CMAKE_SOURCE_DIR}/platform/engine/engine_module.cpp)
foreach(module ${LIRVAN_DECODER_MODULES})
  get_target_property(module_sources ${module} SOURCES)
  list(TRANSFORM module_sources PREPEND ${CMAKE_SOURCE_DIR}/)
  list(REMOVE_ITEM engine_sources ${module_sources})
endforeach()
lirvan_layer(lirvan_engine_core
  SOURCES ${engine_sources} platform/system_audio_engine.cpp
  PUBLIC lirvan_platform
  PRIVATE PkgConfig::PULSE PkgConfig::KISSFFT Threads::Threads)
add_dependencies(lirvan_engine_core ${LIRVAN_DECODER_MODULES})

lirvan_folder_sources(playlists_sources playlists)
lirvan_layer(lirvan_playlists
  SOURCES ${playlists_sources}
  PUBLIC lirvan_platform
  PRIVATE Qt6::Core)

lirvan_folder_sources(playback_sources playback)
lirvan_layer(lirvan_playback
  SOURCES ${playback_sources}
  PUBLIC lirvan_platform Qt6::Core
  PRIVATE lirvan_playlists)

lirvan_folder_sources(ui_sources ui)
lirvan_layer(lirvan_ui
  SOURCES ${ui_sources}
  PUBLIC lirvan_playlists Qt6::Widgets
  PRIVATE lirvan_playback)

find_package(Qt6 REQUIRED COMPONENTS DBus)
lirvan_folder_sources(desktop_sources desktop)
lirvan_layer(lirvan_desktop
  SOURCES ${desktop_sources}
  PUBLIC Qt6::DBus
  PRIVATE lirvan_playback lirvan_playlists Qt6::Widgets)

# The application object: the player's start-up, which main() runs.
lirvan_folder_sources(app_sources app)
list(REMOVE_ITEM app_sources ${CMAKE_SOURCE_DIR}/app/main.cpp)
lirvan_layer(lirvan_app
  SOURCES ${app_sources}
  PRIVATE lirvan_ui lirvan_desktop lirvan_playback lirvan_platform Qt6::Widgets)

# Everything but main(), for the tests, the benchmarks and the fuzz targets.
add_library(lirvan INTERFACE)
target_link_libraries(lirvan INTERFACE lirvan_app lirvan_ui lirvan_desktop lirvan_playback
  lirvan_playlists lirvan_platform lirvan_engine_core)
set(LIRVAN_LAYERS lirvan_platform lirvan_engine_core lirvan_playlists lirvan_playback lirvan_ui lirvan_desktop
  lirvan_app)
