// A folder of the running test's own for the files it writes.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#ifdef _WIN32
#include <process.h>
#define ZESTAWY_TEST_PID _getpid()
#else
#include <unistd.h>
#define ZESTAWY_TEST_PID getpid()
#endif

namespace zestawy::testing_folder {

// The folders the tests have made: each goes when its test has passed; a
// failing test keeps it, and says where.
class Cleaner : public ::testing::EmptyTestEventListener {
  public:
    static void add(const std::filesystem::path& folder) {
        static Cleaner* cleaner = [] {
            auto* made = new Cleaner;  // the listeners own it
            ::testing::UnitTest::GetInstance()->listeners().Append(made);
            return made;
        }();
        cleaner->folders_.push_back(folder);
    }
    void OnTestEnd(const ::testing::TestInfo& test) override {
        for (const std::filesystem::path& folder : folders_) {
            std::error_code ignored;
            if (test.result()->Passed())
                std::filesystem::remove_all(folder, ignored);
            else
                std::printf("(the files of %s are kept in %s)\n", test.name(),
                            folder.string().c_str());
        }
        folders_.clear();
    }

  private:
    std::vector<std::filesystem::path> folders_;
};

// Made empty, under the temporary folder, and named after the test and the
// process: tests run side by side (ctest -j) never share a file. It goes
// when the test passes.
inline std::filesystem::path testFolder() {
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string name = std::string("zestawy-") + test->test_suite_name() + "." +
                             test->name() + "-" + std::to_string(ZESTAWY_TEST_PID);
    const std::filesystem::path folder = std::filesystem::path(::testing::TempDir()) / name;
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    Cleaner::add(folder);
    return folder;
}

}  // namespace zestawy::testing_folder
