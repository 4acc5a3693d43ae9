# The settings file: plain C++ and POSIX, no Qt.
target_sources(norvale_app PRIVATE ${CMAKE_CURRENT_LIST_DIR}/Settings.cpp)
