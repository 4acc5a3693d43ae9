# Tools of the true sky.

# How often the calendar model's principal phase days fall on the true days:
#   TZ=UTC build/dev/tools/norvale_model_vs_sky 1900 2100
add_executable(norvale_model_vs_sky ${CMAKE_CURRENT_LIST_DIR}/model_vs_sky.cpp)
target_link_libraries(norvale_model_vs_sky PRIVATE norvale_core norvale_sky)
