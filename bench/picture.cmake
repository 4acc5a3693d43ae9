# Benchmarks of the Moon picture: one whole panel render at 135 x 156.
add_executable(picture_bench ${CMAKE_CURRENT_LIST_DIR}/picture_bench.cpp)
target_link_libraries(picture_bench PRIVATE norvale_picture norvale_skytext norvale_place benchmark::benchmark)
