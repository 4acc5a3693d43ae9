# The offline help page, with the version filled in, built in as the Qt
# resource ":/norvale/help.html" and installed as a file beside the program
# (packaging/CMakeLists.txt installs the same generated file).

set(NORVALE_HELP_FILE ${CMAKE_CURRENT_BINARY_DIR}/help/help.html)
configure_file(${CMAKE_CURRENT_LIST_DIR}/help/help.html.in ${NORVALE_HELP_FILE} @ONLY)
set_property(GLOBAL PROPERTY NORVALE_HELP_FILE ${NORVALE_HELP_FILE})
qt_add_resources(norvale_resources "norvale_help"
  PREFIX "/norvale"
  BASE ${CMAKE_CURRENT_BINARY_DIR}/help
  FILES ${NORVALE_HELP_FILE}
)
