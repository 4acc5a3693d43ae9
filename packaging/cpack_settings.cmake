# Included by cpack before it builds the package (CPACK_PROJECT_CONFIG_FILE).
#
# CPack's DEB generator gives every file, the control archive and the package's
# own members the time SOURCE_DATE_EPOCH names. Unless the packager set one,
# that is the date of the changelog's latest entry, so two builds of the same
# source are the same bytes.
if("$ENV{SOURCE_DATE_EPOCH}" STREQUAL "")
  set(ENV{SOURCE_DATE_EPOCH} "${CPACK_NORVALE_SOURCE_DATE_EPOCH}")
endif()
