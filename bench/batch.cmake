# The batch tool's benchmark: 10,000 answer files, results table and item analysis, next to
# the floor of reading the same files (and writing the same reports); the course statistics
# and report at 1,000 to 100,000 files, next to a bare-Qt peer. Include from
# bench/CMakeLists.txt after find_package(benchmark).
add_executable(batch_bench ${CMAKE_CURRENT_LIST_DIR}/batch_bench.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SampleTable.cpp)
target_link_libraries(batch_bench PRIVATE
  quendral_batch_core quendral_test_core benchmark::benchmark)
target_compile_definitions(batch_bench PRIVATE QUENDRAL_BATCH_EXE="$<TARGET_FILE:quendral-batch>")
set_target_properties(batch_bench PROPERTIES AUTOMOC OFF)
add_dependencies(batch_bench quendral-batch)

# The bare-Qt peer of the course report (QPdfWriter, one drawText per cell), started like
# the program by the benchmark's growth figures.
add_executable(pdf_peer ${CMAKE_CURRENT_LIST_DIR}/pdf_peer.cpp)
target_link_libraries(pdf_peer PRIVATE Qt6::Gui)
set_target_properties(pdf_peer PROPERTIES AUTOMOC OFF)
target_compile_definitions(batch_bench PRIVATE QUENDRAL_PDF_PEER="$<TARGET_FILE:pdf_peer>")
add_dependencies(batch_bench pdf_peer)
