# Native build: the portable core's unit tests, tools and benchmarks.

find_package(GTest REQUIRED)
include(GoogleTest)

file(GLOB_RECURSE ZESTAWY_CORE_TESTS CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/tests/combinatorics/*.cpp
  ${CMAKE_SOURCE_DIR}/tests/search/*.cpp
  ${CMAKE_SOURCE_DIR}/tests/commands/*.cpp
  ${CMAKE_SOURCE_DIR}/tests/history/*.cpp
  ${CMAKE_SOURCE_DIR}/tests/cli/*.cpp)
add_executable(core_tests ${ZESTAWY_CORE_TESTS})
target_include_directories(core_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
target_compile_options(core_tests PRIVATE ${ZESTAWY_FLAGS})
target_link_libraries(core_tests PRIVATE zestawy_cli GTest::gtest_main)
target_compile_definitions(core_tests PRIVATE
  ZESTAWY_DATA_DIR="${CMAKE_SOURCE_DIR}/data"
  ZESTAWY_TESTS_DIR="${CMAKE_SOURCE_DIR}/tests"
  ZESTAWY_CLI="$<TARGET_FILE:zestawy-cli>")
add_dependencies(core_tests zestawy-cli)
add_test(NAME core_tests COMMAND core_tests)

# Benchmarks (Google Benchmark) of the searches over the real histories: ./bench
if(ZESTAWY_BENCH)
  find_package(benchmark REQUIRED)
  file(GLOB ZESTAWY_BENCHES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/*.cpp)
  # The literal searches of the tests run beside the real ones for comparison.
  add_executable(bench ${ZESTAWY_BENCHES} ${CMAKE_SOURCE_DIR}/tests/search/reference.cpp)
  target_include_directories(bench PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  target_compile_options(bench PRIVATE ${ZESTAWY_FLAGS})
  target_link_libraries(bench PRIVATE zestawy_core benchmark::benchmark_main)
  target_compile_definitions(bench PRIVATE ZESTAWY_DATA_DIR="${CMAKE_SOURCE_DIR}/data")
endif()
