# The main window: the application object, the window with its layout, date
# navigation, the pop-up menu and the commands.
target_sources(norvale_app PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/Commands.h
  ${CMAKE_CURRENT_LIST_DIR}/DatePicker.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DatePicker.h
  ${CMAKE_CURRENT_LIST_DIR}/DialogLayout.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DialogLayout.h
  ${CMAKE_CURRENT_LIST_DIR}/Headless.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Headless.h
  ${CMAKE_CURRENT_LIST_DIR}/NorvaleApp.cpp
  ${CMAKE_CURRENT_LIST_DIR}/NorvaleApp.h
  ${CMAKE_CURRENT_LIST_DIR}/NorvaleDlg.cpp
  ${CMAKE_CURRENT_LIST_DIR}/NorvaleDlg.h
  ${CMAKE_CURRENT_LIST_DIR}/NorvaleDlgMenu.cpp
  ${CMAKE_CURRENT_LIST_DIR}/NorvaleDlgNav.cpp
  ${CMAKE_CURRENT_LIST_DIR}/WinRect.h
)
target_link_libraries(norvale_app PUBLIC norvale_picture norvale_controls Qt6::Widgets)

add_executable(norvale ${CMAKE_CURRENT_LIST_DIR}/main.cpp)
target_link_libraries(norvale PRIVATE norvale_app)
