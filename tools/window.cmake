# Tools of the main window.

# Renders the window under a dark colour scheme: docs/window-dark.png.
add_executable(norvale_window_shot ${CMAKE_CURRENT_LIST_DIR}/window_shot.cpp)
target_link_libraries(norvale_window_shot PRIVATE norvale_app)
add_custom_target(window_dark_png
  COMMAND $<TARGET_FILE:norvale_window_shot> ${PROJECT_SOURCE_DIR}/docs/window-dark.png dark
  COMMENT "Rendering docs/window-dark.png"
  VERBATIM)

# The window under a mid-grey scheme (the toggle triangle's contrast):
# docs/window-grey.png.
add_custom_target(window_grey_png
  COMMAND $<TARGET_FILE:norvale_window_shot> ${PROJECT_SOURCE_DIR}/docs/window-grey.png grey
  COMMENT "Rendering docs/window-grey.png"
  VERBATIM)
