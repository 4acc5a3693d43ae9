# Tests of the settings file: the record, its location, bad input and safe saving.
if(TARGET norvale_app)
  add_executable(settings_tests
    ${CMAKE_CURRENT_LIST_DIR}/settings_file_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/settings_faults_test.cpp)
  target_link_libraries(settings_tests PRIVATE norvale_app GTest::gtest GTest::gtest_main)
  gtest_discover_tests(settings_tests
    PROPERTIES ENVIRONMENT "TZ=UTC;QT_QPA_PLATFORM=offscreen" TIMEOUT 60
    DISCOVERY_TIMEOUT 60)
endif()
