# The desktop's identity (its entry and metainfo, read by desktop/), the icons,
# install rules and the Debian package.

include(GNUInstallDirs)

# The desktop entry and the AppStream metainfo are kept as the files they are
# installed as, so the desktop's own validators check them in the tree. Their id
# names both files; MPRIS names the entry, and gives the MIME types it lists.
set(LIRVAN_APP_ID ru.lirvan.Lirvan1)
set(LIRVAN_DESKTOP_FILE ${CMAKE_SOURCE_DIR}/desktop/${LIRVAN_APP_ID}.desktop)
set(LIRVAN_METAINFO_FILE ${CMAKE_SOURCE_DIR}/desktop/${LIRVAN_APP_ID}.metainfo.xml)
file(READ ${LIRVAN_DESKTOP_FILE} LIRVAN_DESKTOP_ENTRY)
string(REGEX MATCH "\nMimeType=([^\n]*);" LIRVAN_MIME_TYPES_TEXT "${LIRVAN_DESKTOP_ENTRY}")
set(LIRVAN_MIME_TYPES_TEXT "${CMAKE_MATCH_1}")
file(READ ${LIRVAN_METAINFO_FILE} LIRVAN_METAINFO)
if(NOT LIRVAN_METAINFO MATCHES "<release version=\"${PROJECT_VERSION}\"")
  message(FATAL_ERROR "${LIRVAN_METAINFO_FILE} has no release for version ${PROJECT_VERSION}")
endif()
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${LIRVAN_DESKTOP_FILE}
  ${LIRVAN_METAINFO_FILE})

set(LIRVAN_GENERATED ${CMAKE_BINARY_DIR}/generated)
configure_file(desktop/desktop_entry.h.in ${LIRVAN_GENERATED}/desktop/desktop_entry.h @ONLY)

target_include_directories(lirvan_desktop PRIVATE ${LIRVAN_GENERATED})

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
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# MIDI files are played with this General MIDI SoundFont.
set(CPACK_DEBIAN_PACKAGE_DEPENDS timgm6mb-soundfont)
# Qt runs on X11 without it, natively on Wayland with it.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-wayland)
set(CPACK_STRIP_FILES ON)
include(CPack)
