# Run by CPack on its staging folder, after the files are installed (and
# stripped) and before they are packed: drops the compiler's .comment and the
# bare .note sections from every binary, as Debian's own packaging does.
file(GLOB_RECURSE binaries ${CPACK_TEMPORARY_DIRECTORY}/*/bin/* ${CPACK_TEMPORARY_DIRECTORY}/*/lib/*.so)
if(NOT binaries)
  message(FATAL_ERROR "no binaries found to strip in ${CPACK_TEMPORARY_DIRECTORY}")
endif()
foreach(binary IN LISTS binaries)
  execute_process(COMMAND ${CPACK_LIRVAN_STRIP} --remove-section=.comment --remove-section=.note ${binary}
    COMMAND_ERROR_IS_FATAL ANY)
endforeach()
