// Replacing a file all or nothing: what stays beside it, its permissions, a
// link to it, and files that are no files to replace.
#ifndef _WIN32
#include "history/replacing_file.hpp"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "test_folder.hpp"

namespace zestawy {
namespace {

namespace fs = std::filesystem;

std::string bytesOf(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::size_t filesIn(const fs::path& folder) {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), {}));
}

TEST(ReplacingFile, ReplacesWholeOrLeavesTheFileAndNothingBeside) {
    const fs::path folder = testing_folder::testFolder();
    const fs::path target = folder / "target.txt", link = folder / "link.txt";
    std::ofstream(target, std::ios::binary) << "old";
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_symlink("target.txt", link);

    {  // written, then given up (an error on the way): as it was
        ReplacingFile file;
        ASSERT_TRUE(file.open(target.string()));
        ASSERT_TRUE(file.write("new", 3));
        EXPECT_EQ(filesIn(folder), 3u);  // the temporary file beside it
    }
    EXPECT_EQ(bytesOf(target), "old");
    EXPECT_EQ(filesIn(folder), 2u);

    // Through the link: the target replaced, its permissions kept, the link a link.
    ASSERT_TRUE(replaceFile(link.string(), "new"));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(bytesOf(target), "new");
    EXPECT_EQ(fs::status(target).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(filesIn(folder), 2u);

    // No file to replace: refused before anything is made.
    const fs::path fifo = folder / "fifo", sub = folder / "folder";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    fs::create_directory(sub);
    for (const fs::path& path : {fifo, sub}) {
        ReplacingFile file;
        EXPECT_FALSE(file.open(path.string())) << path;
    }
    EXPECT_EQ(filesIn(folder), 4u);

    // Temporary files left by killed updates go once they are an hour old;
    // a younger one may be another update's, and other files stay.
    for (const char* name : {".zestawy-old111", ".zestawy-young1", ".zestawy-toolongname"})
        std::ofstream(folder / name) << "x";
    fs::last_write_time(folder / ".zestawy-old111",
                        fs::file_time_type::clock::now() - std::chrono::hours(2));
    fs::last_write_time(folder / ".zestawy-toolongname",
                        fs::file_time_type::clock::now() - std::chrono::hours(2));
    EXPECT_EQ(removeStaleTemporaries(target.string()), 1);
    EXPECT_FALSE(fs::exists(folder / ".zestawy-old111"));
    EXPECT_TRUE(fs::exists(folder / ".zestawy-young1"));
    EXPECT_TRUE(fs::exists(folder / ".zestawy-toolongname"));

    // A file named without a folder: its temporary file lies in the working
    // folder under the same pattern, and goes the same way.
    const fs::path before = fs::current_path();
    fs::current_path(folder);
    {
        ReplacingFile file;
        ASSERT_TRUE(file.open("target.txt"));
        EXPECT_EQ(filesIn(folder), 7u);
    }
    fs::last_write_time(".zestawy-young1",
                        fs::file_time_type::clock::now() - std::chrono::hours(2));
    EXPECT_EQ(removeStaleTemporaries("target.txt"), 1);
    fs::current_path(before);

    // Made only where there is nothing: a file that appeared meanwhile stays.
    {
        ReplacingFile file;
        ASSERT_TRUE(file.open((folder / "new.txt").string()));
        ASSERT_TRUE(file.write("mine", 4));
        std::ofstream(folder / "new.txt") << "theirs";
        EXPECT_FALSE(file.commit(false));
    }
    EXPECT_EQ(bytesOf(folder / "new.txt"), "theirs");
    EXPECT_EQ(filesIn(folder), 6u);

    // A replace that fails (the file became a folder meanwhile): nothing stays beside it.
    {
        ReplacingFile file;
        ASSERT_TRUE(file.open((folder / "new.txt").string()));
        ASSERT_TRUE(file.write("mine", 4));
        fs::remove(folder / "new.txt");
        fs::create_directories(folder / "new.txt" / "inside");
        EXPECT_FALSE(file.commit());
    }
    EXPECT_EQ(filesIn(folder), 6u);
    fs::remove_all(folder);
}

}  // namespace
}  // namespace zestawy
#endif
