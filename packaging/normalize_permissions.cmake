# Runs inside cpack after the files are staged and before the package is made.
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
  if(IS_DIRECTORY "${entry}" OR entry MATCHES "/bin/[^/]+$")
    file(CHMOD "${entry}" PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE
                                      GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
  else()
    file(CHMOD "${entry}" PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
  endif()
endforeach()
