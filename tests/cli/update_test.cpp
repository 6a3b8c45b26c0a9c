// zestawy-cli --update as a process: a history cut short completed from each
// downloaded file byte for byte, and every refusal leaving the history as it
// was, bytes and modification time.
#ifndef _WIN32
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "search/draw_lists.hpp"

namespace {

namespace fs = std::filesystem;
using zestawy::Game;
using zestawy::draw_lists::historyPath;
const std::string kDownloads = std::string(ZESTAWY_DATA_DIR) + "/downloads/";

std::string bytesOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// The first `lines` lines of the text, or all but the last -lines of them.
std::string firstLines(const std::string& text, int lines) {
    if (lines < 0) lines += static_cast<int>(std::count(text.begin(), text.end(), '\n'));
    std::size_t end = 0;
    for (int i = 0; i < lines; ++i) end = text.find('\n', end) + 1;
    return text.substr(0, end);
}

// Runs the tool; as root, with the rights of nobody, so that a folder without
// write permission holds for it too. Returns the exit code and stderr.
std::pair<int, std::string> runTool(const std::vector<std::string>& args) {
    const std::string errPath =
        testing::TempDir() + "update-err-" + std::to_string(getpid()) + ".txt";
    const pid_t child = fork();
    if (child == 0) {
        if (!freopen(errPath.c_str(), "w", stderr)) _exit(126);
        if (getuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(126);
        std::vector<char*> argv = {const_cast<char*>(ZESTAWY_CLI)};
        for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(ZESTAWY_CLI, argv.data());
        _exit(127);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, bytesOf(errPath)};
}

TEST(CliUpdate, CompletesHistoriesAndRefusesAnythingThatWouldCorruptThem) {
    const std::string lotto = bytesOf(historyPath(Game::Lotto));
    const std::string lottoCsv = bytesOf(kDownloads + "lotto.csv");
    std::string ownLf = lotto.substr(firstLines(lotto, -3).size());
    ownLf.erase(std::remove(ownLf.begin(), ownLf.end(), '\r'), ownLf.end());
    std::string badCsv = lottoCsv, conflictCsv = lottoCsv;
    badCsv.replace(badCsv.find("7393,18.08.2026,09"), 18, "7393,18.08.2026,50");
    conflictCsv.replace(conflictCsv.find("7000,13.02.2024"), 15, "7000,14.02.2024");

    struct Case {
        const char* name;
        const char* game;
        Game history;
        int keep;              // lines of the history kept, from the start
        std::string download;  // the bytes of the downloaded file
        bool locked;           // the history's folder cannot be written
        int code;              // exit code
        bool completed;        // the history becomes the whole shipped one
        const char* said;      // in what stderr says
    };
    const Case cases[] = {
        {"multi from csv", "multi", Game::MultiMulti, 40, "multi_multi.csv", false, 0, true,
         u8"Brak w numeracji"},
        {"mini from csv", "mini", Game::MiniLotto, 7000, "mini_lotto.csv", false, 0, true,
         u8"Dopisano 355 losowań: od 7064. "},
        {"lotto from csv", "lotto", Game::Lotto, 7390, "lotto.csv", false, 0, true,
         u8"Dopisano 4 losowania: od 7391. 13.08.2026 do 7394. 20.08.2026."},
        {"own layout, LF, BOM", "lotto", Game::Lotto, -3, "\xEF\xBB\xBF" + ownLf, false, 0, true,
         u8"Dopisano 3 losowania"},
        {"conflict", "lotto", Game::Lotto, 7390, conflictCsv, false, 1, false,
         u8"nr 7000: w pliku wyników „7000. 13.02.2024"},
        {"nothing new", "lotto", Game::Lotto, 0, "lotto.csv", false, 0, false, u8"Nic nowego"},
        {"another game", "lotto", Game::Lotto, 7390, "multi_multi.csv", false, 1, false,
         u8"mają po 20 liczb, jak w grze Multi Multi"},
        {"bad new draw", "lotto", Game::Lotto, 7390, badCsv, false, 1, false,
         u8"wiersz 7393: liczba 50 spoza zakresu 1–49"},
        {"unwritable folder", "lotto", Game::Lotto, 7390, "lotto.csv", true, 1, false,
         u8"Nie można zapisać pliku wyników"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string whole = bytesOf(historyPath(c.history));
        const fs::path folder = testing::TempDir() + "update-" + std::to_string(getpid());
        fs::create_directory(folder);
        const std::string history = folder / "history.txt", download = folder / "download";
        const std::string before = c.keep ? firstLines(whole, c.keep) : whole;
        writeBytes(history, before);
        const bool named = c.download.find('\n') == std::string::npos;
        writeBytes(download, named ? bytesOf(kDownloads + c.download) : c.download);
        // Written by whoever runs the tool, only through the folder.
        fs::permissions(history, fs::perms::all & ~fs::perms::owner_exec & ~fs::perms::group_exec &
                                     ~fs::perms::others_exec);
        fs::permissions(folder, c.locked ? fs::perms::all & ~fs::perms::owner_write &
                                               ~fs::perms::group_write & ~fs::perms::others_write
                                         : fs::perms::all);
        const auto written = fs::last_write_time(history);

        const auto [code, err] =
            runTool({"--game", c.game, "--history", history, "--update", download});
        EXPECT_EQ(code, c.code);
        EXPECT_NE(err.find(c.said), std::string::npos) << err;
        EXPECT_EQ(bytesOf(history), c.completed ? whole : before);
        if (!c.completed) {
            EXPECT_EQ(fs::last_write_time(history), written);
        }
        const auto files = std::distance(fs::directory_iterator(folder), fs::directory_iterator());
        EXPECT_EQ(files, 2) << "a temporary file was left";
        fs::permissions(folder, fs::perms::all);
        fs::remove_all(folder);
    }
}

}  // namespace
#endif
