# The desktop's identity: its entry and metainfo, which desktop/ and app/ read;
# what is installed, and the Debian package, are cmake/package.cmake's.

# The desktop entry and the AppStream metainfo are kept as the files they are
# installed as, so the desktop's own validators check them in the tree. Their id
# names both files; MPRIS names the entry. The entry's MimeType line is kept by
# hand, and a test holds it to the format table (platform/audio_formats.cpp),
# which MPRIS and the player read.
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
target_include_directories(lirvan_app PRIVATE ${LIRVAN_GENERATED})
# The tests check the entry against what the player plays.
target_include_directories(lirvan INTERFACE ${LIRVAN_GENERATED})
