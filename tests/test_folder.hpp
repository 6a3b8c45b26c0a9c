// A folder of the running test's own for the files it writes.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#ifdef _WIN32
#include <process.h>
#define ZESTAWY_TEST_PID _getpid()
#else
#include <unistd.h>
#define ZESTAWY_TEST_PID getpid()
#endif

namespace zestawy::testing_folder {

// Made empty, under the temporary folder, and named after the test and the
// process: tests run side by side (ctest -j) never share a file.
inline std::filesystem::path testFolder() {
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string name = std::string("zestawy-") + test->test_suite_name() + "." +
                             test->name() + "-" + std::to_string(ZESTAWY_TEST_PID);
    const std::filesystem::path folder = std::filesystem::path(::testing::TempDir()) / name;
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}

}  // namespace zestawy::testing_folder
