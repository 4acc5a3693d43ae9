# Benchmarks of the true Moon picture (drawing and encoding).
add_executable(true_bench ${CMAKE_CURRENT_LIST_DIR}/true_bench.cpp)
target_link_libraries(true_bench PRIVATE norvale_truemoon_view norvale_png norvale_sky
                                         benchmark::benchmark)
