# Runs inside cpack after the files are staged and before the package is made.
#
# The programs are stripped as Debian's dh_strip strips them: every symbol, the
# .comment section (the compiler's name and version) and a plain .note
# section, which nothing reads at run time. The build-id, ABI tag and GNU
# property notes stay.
#
# Directories CMake creates during the install follow the umask of whoever
# builds the package, so the staged tree is set to the modes Debian expects:
# directories and programs 0755, every other file 0644.

if(NOT IS_DIRECTORY "${CPACK_TEMPORARY_INSTALL_DIRECTORY}")
  message(FATAL_ERROR "staging folder '${CPACK_TEMPORARY_INSTALL_DIRECTORY}' not found")
endif()

file(GLOB_RECURSE entries LIST_DIRECTORIES true "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*")
foreach(entry IN LISTS entries)
  if(IS_SYMLINK "${entry}")
    continue()
  endif()
  if(IS_DIRECTORY "${entry}")
    file(CHMOD "${entry}" PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE
                                      GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
  elseif(entry MATCHES "/bin/[^/]+$" OR entry MATCHES "/libexec/norvale/[^/]+$")
    execute_process(COMMAND "${CPACK_NORVALE_STRIP}" --remove-section=.comment
                            --remove-section=.note "${entry}"
                    COMMAND_ERROR_IS_FATAL ANY)
    file(CHMOD "${entry}" PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE
                                      GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
  else()
    file(CHMOD "${entry}" PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
  endif()
endforeach()
