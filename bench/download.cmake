# The download benchmark: the program's page download on its own, timed
# by scripts/bench-download.sh against curl.
add_executable(download_bench ${CMAKE_CURRENT_LIST_DIR}/download_bench.cpp)
target_link_libraries(download_bench PRIVATE tavrin_core tavrin_platform)
target_link_options(download_bench PRIVATE -mconsole)
