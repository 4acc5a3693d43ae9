# Benchmarks of the lunar calendar core.
add_executable(core_bench ${CMAKE_CURRENT_LIST_DIR}/core_bench.cpp)
target_link_libraries(core_bench PRIVATE norvale_core benchmark::benchmark_main)
