# The program's icon (icon 128, with 48 and 128 pixel sizes and the scalable
# source) and the pointing-hand cursor 129, built in as Qt resources under
# ":/norvale/".

add_library(norvale_resources STATIC)
# A target with only Qt resources needs the generated source of automoc.
set_target_properties(norvale_resources PROPERTIES AUTOMOC ON)
set(_norvale_icon_dir ${CMAKE_CURRENT_LIST_DIR}/icons)
set_source_files_properties(${_norvale_icon_dir}/norvale-32.png PROPERTIES QT_RESOURCE_ALIAS icon.png)
set_source_files_properties(${_norvale_icon_dir}/norvale-48.png PROPERTIES QT_RESOURCE_ALIAS icon-48.png)
set_source_files_properties(${_norvale_icon_dir}/norvale-128.png PROPERTIES QT_RESOURCE_ALIAS icon-128.png)
set_source_files_properties(${_norvale_icon_dir}/norvale.svg PROPERTIES QT_RESOURCE_ALIAS norvale.svg)
set_source_files_properties(${_norvale_icon_dir}/hand.png PROPERTIES QT_RESOURCE_ALIAS hand.png)
# Format 1 of rcc leaves out each file's modification time, which the later
# formats build in: the programs' bytes would follow the checkout's time.
qt_add_resources(norvale_resources "norvale_icons"
  PREFIX "/norvale"
  OPTIONS --format-version 1
  FILES
    ${_norvale_icon_dir}/norvale-32.png
    ${_norvale_icon_dir}/norvale-48.png
    ${_norvale_icon_dir}/norvale-128.png
    ${_norvale_icon_dir}/norvale.svg
    ${_norvale_icon_dir}/hand.png
)
target_link_libraries(norvale_resources PUBLIC Qt6::Core)

# The PNGs are committed; `cmake --build <dir> --target norvale_icons_png`
# draws them again from make_icons.cpp into resources/icons/.
add_executable(norvale_make_icons EXCLUDE_FROM_ALL ${_norvale_icon_dir}/make_icons.cpp)
target_link_libraries(norvale_make_icons PRIVATE Qt6::Gui)
add_custom_target(norvale_icons_png
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen $<TARGET_FILE:norvale_make_icons> ${_norvale_icon_dir}
  DEPENDS norvale_make_icons
  COMMENT "Drawing the icon and cursor PNGs into resources/icons"
  VERBATIM
)
