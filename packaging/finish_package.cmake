# Runs inside cpack after the package is written (CPACK_POST_BUILD_SCRIPTS).
#
# CPack's ar writer gives each member of the .deb (debian-binary,
# control.tar.gz, data.tar.gz) the mode of the temporary file it wrote, so the
# builder's umask shows in the package's bytes. The mode fields are set to
# 100644, as dpkg-deb writes them; nothing else in the package changes.

foreach(deb IN LISTS CPACK_PACKAGE_FILES)
  file(READ "${deb}" magic LIMIT 8)
  if(NOT magic STREQUAL "!<arch>\n")
    message(FATAL_ERROR "${deb} is not an ar archive")
  endif()
  set(mode_file "${deb}.member-mode")
  file(WRITE "${mode_file}" "100644  ")
  file(SIZE "${deb}" deb_size)
  # Each member: a 60-byte header (name 16, time 12, owner 6, group 6, mode 8,
  # size 10, "`\n") and its data, padded to an even length.
  set(offset 8)
  while(offset LESS deb_size)
    file(READ "${deb}" header OFFSET ${offset} LIMIT 60)
    string(LENGTH "${header}" header_length)
    string(SUBSTRING "${header}" 48 10 member_size)
    string(STRIP "${member_size}" member_size)
    if(NOT header_length EQUAL 60 OR NOT header MATCHES "`\n$" OR NOT member_size MATCHES "^[0-9]+$")
      message(FATAL_ERROR "${deb}: no ar member header at byte ${offset}")
    endif()
    math(EXPR mode_offset "${offset} + 40")
    execute_process(COMMAND dd "of=${deb}" bs=1 seek=${mode_offset} conv=notrunc status=none
                    INPUT_FILE "${mode_file}"
                    COMMAND_ERROR_IS_FATAL ANY)
    math(EXPR offset "${offset} + 60 + ${member_size} + ${member_size} % 2")
  endwhile()
  file(REMOVE "${mode_file}")
endforeach()
