# The batch tool's benchmark: 10,000 answer files, results table and item analysis, next to
# the floor of reading the same files (and writing the same reports). Include from bench/CMakeLists.txt after
# find_package(benchmark).
add_executable(batch_bench ${CMAKE_CURRENT_LIST_DIR}/batch_bench.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SampleTable.cpp)
target_link_libraries(batch_bench PRIVATE
  quendral_batch_core quendral_test_core benchmark::benchmark)
target_compile_definitions(batch_bench PRIVATE QUENDRAL_BATCH_EXE="$<TARGET_FILE:quendral-batch>")
set_target_properties(batch_bench PROPERTIES AUTOMOC OFF)
add_dependencies(batch_bench quendral-batch)
