# Native build: the portable core's unit tests, tools and benchmarks.

find_package(GTest REQUIRED)
include(GoogleTest)

file(GLOB_RECURSE ZESTAWY_CORE_TESTS CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/tests/combinatorics/*.cpp
  ${CMAKE_SOURCE_DIR}/tests/search/*.cpp
  ${CMAKE_SOURCE_DIR}/tests/commands/*.cpp
  ${CMAKE_SOURCE_DIR}/tests/history/*.cpp
  ${CMAKE_SOURCE_DIR}/tests/cli/*.cpp
  ${CMAKE_SOURCE_DIR}/tests/net/*.cpp
  ${CMAKE_SOURCE_DIR}/tests/wheel/*.cpp)
add_executable(core_tests ${ZESTAWY_CORE_TESTS})
target_include_directories(core_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
target_link_libraries(core_tests PRIVATE zestawy_flags zestawy_cli GTest::gtest_main)
target_compile_definitions(core_tests PRIVATE
  ZESTAWY_DATA_DIR="${CMAKE_SOURCE_DIR}/tests/data"
  ZESTAWY_TESTS_DIR="${CMAKE_SOURCE_DIR}/tests"
  ZESTAWY_CLI="$<TARGET_FILE:zestawy-cli>")
add_dependencies(core_tests zestawy-cli)
# Each test a CTest test of its own, run in a process of its own.
gtest_discover_tests(core_tests DISCOVERY_TIMEOUT 60)

# Benchmarks (Google Benchmark) of the searches over the real histories: ./bench.
# Left out where Google Benchmark is not installed.
if(ZESTAWY_BENCH)
  find_package(benchmark QUIET)
  if(NOT benchmark_FOUND)
    message(STATUS "Google Benchmark not found: no benchmarks")
  endif()
endif()
if(ZESTAWY_BENCH AND benchmark_FOUND)
  file(GLOB ZESTAWY_BENCHES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/*.cpp)
  # The literal searches of the tests run beside the real ones for comparison.
  add_executable(bench ${ZESTAWY_BENCHES} ${CMAKE_SOURCE_DIR}/tests/search/reference.cpp)
  target_include_directories(bench PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  target_link_libraries(bench PRIVATE zestawy_flags zestawy_cli benchmark::benchmark_main)
  target_compile_definitions(bench PRIVATE ZESTAWY_DATA_DIR="${CMAKE_SOURCE_DIR}/data")
endif()

# cmake --install: the tool on PATH, its sample histories where it looks for
# them from there (<prefix>/share/zestawy), and the guide.
install(TARGETS zestawy-cli RUNTIME DESTINATION bin)
install(FILES ${ZESTAWY_SAMPLES} ${CMAKE_SOURCE_DIR}/data/README.md DESTINATION share/zestawy)
install(FILES ${CMAKE_SOURCE_DIR}/README.md DESTINATION share/doc/zestawy)
add_test(NAME install COMMAND bash ${CMAKE_SOURCE_DIR}/tests/package/install_test.sh
  ${CMAKE_BINARY_DIR} ${CMAKE_SOURCE_DIR})
