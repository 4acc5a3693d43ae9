# Tests of the main window: layout, start-up, endings, date navigation, the
# pop-up menu and the commands. Qt runs offscreen with a fixed clock and a
# temporary settings folder.
if(TARGET norvale_app AND TARGET norvale)
  add_executable(window_tests
    ${CMAKE_CURRENT_LIST_DIR}/window_test_main.cpp
    ${CMAKE_CURRENT_LIST_DIR}/window_fixture.h
    ${CMAKE_CURRENT_LIST_DIR}/window_layout_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/window_navigation_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/window_menu_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/window_access_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/window_clock_test.cpp)
  target_link_libraries(window_tests PRIVATE norvale_app Qt6::Test GTest::gtest)
  gtest_discover_tests(window_tests
    PROPERTIES ENVIRONMENT "TZ=UTC;QT_QPA_PLATFORM=offscreen" TIMEOUT 60
    DISCOVERY_TIMEOUT 60)

  # Without a desktop the program prints today's Moon and ends.
  add_test(NAME window_headless_prints_today
    COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY $<TARGET_FILE:norvale>)
  set_tests_properties(window_headless_prints_today PROPERTIES
    ENVIRONMENT "TZ=UTC" TIMEOUT 20
    PASS_REGULAR_EXPRESSION "day, .*% illuminated")
endif()
