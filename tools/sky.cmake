# Tools of the true sky.

# How often the calendar model's principal phase days fall on the true days:
#   TZ=UTC build/dev/tools/norvale_model_vs_sky 1900 2100
add_executable(norvale_model_vs_sky ${CMAKE_CURRENT_LIST_DIR}/model_vs_sky.cpp)
target_link_libraries(norvale_model_vs_sky PRIVATE norvale_core norvale_sky)

# The principal phases of 1800-2200 with every term of the Moon's series, as
# sky/PhaseTable.inc (minutes of CPU; run by hand, see phase_table.cpp). It is
# built from the sky's sources without the table it writes.
add_executable(norvale_phase_table ${CMAKE_CURRENT_LIST_DIR}/phase_table.cpp
  ${PROJECT_SOURCE_DIR}/sky/DeltaT.cpp ${PROJECT_SOURCE_DIR}/sky/PhaseSolver.cpp
  ${PROJECT_SOURCE_DIR}/sky/Positions.cpp)
target_include_directories(norvale_phase_table SYSTEM PRIVATE ${NORVALE_LIBNOVA_INCLUDE_DIR})
target_link_libraries(norvale_phase_table PRIVATE ${NORVALE_LIBNOVA_LIBRARY} m)
