# What is installed, where the player finds its modules, and the Debian package
# (scripts/package builds it with Debian's flags and checks it).

include(GNUInstallDirs)

# The modules are the player's alone: a private folder of the library folder,
# lib/<multiarch triplet>/lirvan1 when the prefix is /usr, as the package has it.
# The executable finds them from its own location, so the path is relative.
set(LIRVAN_MODULE_DIR ${CMAKE_INSTALL_LIBDIR}/lirvan1)
file(RELATIVE_PATH LIRVAN_MODULES_FROM_EXE ${CMAKE_INSTALL_FULL_BINDIR}
  ${CMAKE_INSTALL_PREFIX}/${LIRVAN_MODULE_DIR})
set_property(SOURCE platform/engine/module_loader.cpp APPEND PROPERTY COMPILE_DEFINITIONS
  LIRVAN_MODULES_FROM_EXE="${LIRVAN_MODULES_FROM_EXE}")
install(TARGETS ${LIRVAN_DECODER_MODULES} lirvan_engine lirvan_tags LIBRARY DESTINATION ${LIRVAN_MODULE_DIR})

# Programs of the build tree that load the modules but do not sit beside them
# (tests, benchmarks, fuzz targets) take this object, which names the build
# tree's folder to the loader; the player and what is installed never do.
add_library(lirvan_build_tree_modules OBJECT EXCLUDE_FROM_ALL
  ${CMAKE_SOURCE_DIR}/tests/build_tree_modules.cpp)
set_target_properties(lirvan_build_tree_modules PROPERTIES AUTOMOC OFF)
target_link_libraries(lirvan_build_tree_modules PRIVATE lirvan)
target_compile_definitions(lirvan_build_tree_modules PRIVATE
  LIRVAN_BUILD_TREE_MODULES="${CMAKE_BINARY_DIR}")
# target: a program, or a library whose every program gets the object.
function(lirvan_loads_build_tree_modules target)
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "EXECUTABLE")
    target_sources(${target} PRIVATE $<TARGET_OBJECTS:lirvan_build_tree_modules>)
  else()
    target_sources(${target} INTERFACE $<TARGET_OBJECTS:lirvan_build_tree_modules>)
  endif()
  add_dependencies(${target} lirvan_build_tree_modules)
endfunction()

# The icon the player draws, rendered for the icon theme by a tool linked to
# the same drawing code.
set(LIRVAN_ICON_SIZES 16 32 48 64 128 256)
add_executable(lirvan_export_icon desktop/tools/export_icon.cpp ui/app_icon.cpp)
target_include_directories(lirvan_export_icon PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(lirvan_export_icon PRIVATE Qt6::Gui)
set(LIRVAN_ICON_DIR ${CMAKE_BINARY_DIR}/icons)
set(LIRVAN_ICONS)
foreach(size IN LISTS LIRVAN_ICON_SIZES)
  list(APPEND LIRVAN_ICONS ${LIRVAN_ICON_DIR}/${size}x${size}/apps/lirvan1.png)
endforeach()
# Qt keeps a few allocations to the end of the process, which a sanitizer build
# must not count as leaks of the tool.
add_custom_command(OUTPUT ${LIRVAN_ICONS}
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0
    $<TARGET_FILE:lirvan_export_icon> ${LIRVAN_ICON_DIR} ${LIRVAN_ICON_SIZES}
  DEPENDS lirvan_export_icon
  COMMENT "Rendering the application icon")
add_custom_target(lirvan_icons ALL DEPENDS ${LIRVAN_ICONS})

install(TARGETS lirvan1 RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${LIRVAN_DESKTOP_FILE}
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${LIRVAN_METAINFO_FILE}
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size IN LISTS LIRVAN_ICON_SIZES)
  install(FILES ${LIRVAN_ICON_DIR}/${size}x${size}/apps/lirvan1.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
# Debian wants the changelog and manual page compressed, reproducibly.
set(LIRVAN_COMPRESSED ${LIRVAN_GENERATED}/changelog.gz ${LIRVAN_GENERATED}/lirvan1.1.gz)
add_custom_command(OUTPUT ${LIRVAN_COMPRESSED}
  COMMAND gzip -9n -c ${CMAKE_SOURCE_DIR}/desktop/changelog > ${LIRVAN_GENERATED}/changelog.gz
  COMMAND gzip -9n -c ${CMAKE_SOURCE_DIR}/desktop/lirvan1.1 > ${LIRVAN_GENERATED}/lirvan1.1.gz
  DEPENDS desktop/changelog desktop/lirvan1.1)
add_custom_target(lirvan_docs ALL DEPENDS ${LIRVAN_COMPRESSED})
install(FILES desktop/copyright ${LIRVAN_GENERATED}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES ${LIRVAN_GENERATED}/lirvan1.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The Debian package (scripts/package builds and checks it).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME lirvan1)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Lirvan maintainers <maintainers@lirvan.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "audio player with playlists and a Russian interface")
set(CPACK_PACKAGE_DESCRIPTION
  "Lirvan plays MP3, MIDI, WAV, WMA, the sound of AVI and MPEG files and whatever\n\
else FFmpeg reads, from one window with a level meter, and keeps tracks in\n\
playlists. Its interface is in Russian.")
# The package installs where this tree was configured to (scripts/package: /usr),
# so that the module folder compiled into the executable is the one installed.
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# MIDI files are played with a General MIDI SoundFont at FluidSynth's default
# path, which either package provides.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "timgm6mb-soundfont | sf2-soundfont-gm")
# Qt runs on X11 without the first, natively on Wayland with it; the second
# puts Qt's own dialogs and menus in the user's language.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland, qt6-translations-l10n")
set(CPACK_STRIP_FILES ON)
set(CPACK_LIRVAN_STRIP ${CMAKE_STRIP})
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_SOURCE_DIR}/cmake/package_strip.cmake)
include(CPack)
