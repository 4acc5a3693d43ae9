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

# The panel's texts drawn by Qt as they used to be against norvale_panel:
# pixels outside the text boxes, the ink of the glyphs, and enlarged pictures
# of the text rows (docs/text-1x.png, docs/text-2x.png).
add_executable(norvale_text_compare ${CMAKE_CURRENT_LIST_DIR}/text_compare.cpp)
target_link_libraries(norvale_text_compare PRIVATE norvale_picture norvale_ui)
add_custom_target(text_pictures
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
          $<TARGET_FILE:norvale_text_compare> --pictures ${PROJECT_SOURCE_DIR}/docs
  COMMENT "Rendering docs/text-1x.png and docs/text-2x.png"
  VERBATIM)
