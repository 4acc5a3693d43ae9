# Benchmarks of the true sky.
add_executable(sky_bench ${CMAKE_CURRENT_LIST_DIR}/sky_bench.cpp)
target_link_libraries(sky_bench PRIVATE norvale_sky benchmark::benchmark_main)
