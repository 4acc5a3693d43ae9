# Benchmarks of the main window (programs that print their figures).
add_executable(app_next_bench ${CMAKE_CURRENT_LIST_DIR}/app_next_bench.cpp)
target_link_libraries(app_next_bench PRIVATE norvale_app Qt6::Test)

# Start-up until the first Moon paint, against a bare Qt dialog.
add_executable(app_startup_probe ${CMAKE_CURRENT_LIST_DIR}/app_startup_probe.cpp)
target_link_libraries(app_startup_probe PRIVATE norvale_app norvale_facecache)
add_executable(bare_dialog ${CMAKE_CURRENT_LIST_DIR}/bare_dialog.cpp)
target_link_libraries(bare_dialog PRIVATE Qt6::Widgets)
add_executable(app_startup_bench ${CMAKE_CURRENT_LIST_DIR}/app_startup_bench.cpp)
add_dependencies(app_startup_bench app_startup_probe bare_dialog)
