# The batch tool's benchmark: 10,000 answer files, results table and item analysis, next to
# the floor of reading the same files. Include from bench/CMakeLists.txt after
# find_package(benchmark).
add_executable(batch_bench ${CMAKE_CURRENT_LIST_DIR}/batch_bench.cpp)
target_link_libraries(batch_bench PRIVATE quendral_batch_core benchmark::benchmark)
target_compile_definitions(batch_bench PRIVATE QUENDRAL_BATCH_EXE="$<TARGET_FILE:quendral-batch>")
set_target_properties(batch_bench PROPERTIES AUTOMOC OFF)
add_dependencies(batch_bench quendral-batch)
