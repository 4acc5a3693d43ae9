# Tools of the Moon picture.

# Makes resources/textures/*.bmp from the equirectangular Moon map:
#   cmake --build <dir> --target regenerate_textures -DNORVALE_MOON_MAP=...
add_executable(norvale_texture_tool ${CMAKE_CURRENT_LIST_DIR}/moon_texture_tool.cpp)
target_link_libraries(norvale_texture_tool PRIVATE Qt6::Gui)

set(NORVALE_MOON_MAP "${PROJECT_SOURCE_DIR}/../shared/data/moon-map-1024x512.png"
    CACHE FILEPATH "Equirectangular Moon map the textures are made from")
add_custom_target(regenerate_textures
  COMMAND norvale_texture_tool ${NORVALE_MOON_MAP} ${PROJECT_SOURCE_DIR}/resources/textures 1
  COMMAND norvale_texture_tool ${NORVALE_MOON_MAP} ${PROJECT_SOURCE_DIR}/resources/textures 2
  COMMAND norvale_texture_tool ${NORVALE_MOON_MAP} ${PROJECT_SOURCE_DIR}/resources/textures map
  COMMENT "Projecting the Moon map into resources/textures"
  VERBATIM)

# Renders every phase day in both views: docs/contact-sheet.png.
add_executable(norvale_contact_sheet ${CMAKE_CURRENT_LIST_DIR}/contact_sheet.cpp)
target_link_libraries(norvale_contact_sheet PRIVATE norvale_picture norvale_ui)
add_custom_target(contact_sheet
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
          $<TARGET_FILE:norvale_contact_sheet> ${PROJECT_SOURCE_DIR}/docs/contact-sheet.png
  COMMENT "Rendering docs/contact-sheet.png"
  VERBATIM)

# The main window's picture at the screen scales 1, 1.25, 1.5, 1.75 and 2
# (Qt's offscreen platform, QT_SCALE_FACTOR), side by side, and parts of the
# 1.25, 1.5 and 1.75 pictures enlarged against the 1x and 2x pictures scaled
# with nearest neighbours as before: docs/scale-*.png; and the window with the
# picture's tooltip (docs/picture-tooltip.png).
add_executable(norvale_scale_shots ${CMAKE_CURRENT_LIST_DIR}/scale_shots.cpp)
target_link_libraries(norvale_scale_shots PRIVATE norvale_app Qt6::Test)
set(NORVALE_SCALE_SHOTS "")
set(NORVALE_SCALE_SHOT_COMMANDS "")
foreach(factor 1 1.25 1.5 1.75 2)
  set(shot ${CMAKE_CURRENT_BINARY_DIR}/scale-shot-${factor}.png)
  list(APPEND NORVALE_SCALE_SHOTS ${shot})
  list(APPEND NORVALE_SCALE_SHOT_COMMANDS
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen QT_SCALE_FACTOR=${factor} TZ=UTC
            $<TARGET_FILE:norvale_scale_shots> --shot ${shot})
endforeach()
set(scale_shot_dir ${CMAKE_CURRENT_BINARY_DIR})
add_custom_target(scale_pictures
  ${NORVALE_SCALE_SHOT_COMMANDS}
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
          $<TARGET_FILE:norvale_scale_shots> --sheet ${PROJECT_SOURCE_DIR}/docs/scale-sheet.png
          ${NORVALE_SCALE_SHOTS}
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
          $<TARGET_FILE:norvale_scale_shots> --enlarged ${PROJECT_SOURCE_DIR}/docs/scale-1.25.png
          1.25 ${scale_shot_dir}/scale-shot-1.png ${scale_shot_dir}/scale-shot-1.25.png
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
          $<TARGET_FILE:norvale_scale_shots> --enlarged ${PROJECT_SOURCE_DIR}/docs/scale-1.5.png
          1.5 ${scale_shot_dir}/scale-shot-2.png ${scale_shot_dir}/scale-shot-1.5.png
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
          $<TARGET_FILE:norvale_scale_shots> --enlarged ${PROJECT_SOURCE_DIR}/docs/scale-1.75.png
          1.75 ${scale_shot_dir}/scale-shot-2.png ${scale_shot_dir}/scale-shot-1.75.png
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen TZ=UTC
          $<TARGET_FILE:norvale_scale_shots> --tooltip ${PROJECT_SOURCE_DIR}/docs/picture-tooltip.png
  COMMENT "Rendering docs/scale-sheet.png, docs/scale-1.25.png, -1.5.png, -1.75.png and docs/picture-tooltip.png"
  VERBATIM)

# The true Moon's pictures in docs/picture.md: a lunation, the nearest and the
# farthest full moon, north up against zenith up, a wallpaper.
add_executable(norvale_true_sheet ${CMAKE_CURRENT_LIST_DIR}/true_sheet.cpp)
target_link_libraries(norvale_true_sheet PRIVATE norvale_truemoon_view norvale_panel norvale_png
                                                 norvale_sky)
add_custom_target(true_pictures
  COMMAND ${CMAKE_COMMAND} -E env TZ=UTC $<TARGET_FILE:norvale_true_sheet> ${PROJECT_SOURCE_DIR}/docs
  COMMENT "Rendering docs/true-*.png"
  VERBATIM)
