// zestawy-cli --update as a process: histories completed from each download
// byte for byte, every refusal leaving the history as it was (bytes and
// modification time), files that are no history left alone, two updates at
// once, and updates stopped or killed midway.
#ifndef _WIN32
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "search/draw_lists.hpp"
#include "test_folder.hpp"

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

// Lines [from, to) of the text, counted from 0; a negative number counts from
// the end.
std::string lines(const std::string& text, int from, int to = INT32_MAX) {
    const int total = static_cast<int>(std::count(text.begin(), text.end(), '\n'));
    auto at = [&](int line) {
        line = line < 0 ? total + line : std::min(line, total);
        std::size_t offset = 0;
        for (int i = 0; i < line; ++i) offset = text.find('\n', offset) + 1;
        return offset;
    };
    return text.substr(at(from), at(to) - at(from));
}

std::string replaced(std::string text, const std::string& what, const std::string& with) {
    for (std::size_t at = 0; (at = text.find(what, at)) != std::string::npos; at += with.size())
        text.replace(at, what.size(), with);
    return text;
}

// A folder of the test's own, empty, that anybody may write into.
fs::path ownFolder() {
    const fs::path folder = zestawy::testing_folder::testFolder();
    fs::permissions(folder, fs::perms::all);
    return folder;
}

// A history the tool may update as its own: as root the tests run the tool
// as nobody, whose file it then is.
void ownedByTool(const std::string& path) {
    if (getuid() == 0) {
        ASSERT_EQ(chown(path.c_str(), 65534, 65534), 0);
    }
}

// Starts the tool on --update; as root, with the rights of nobody, so that a
// folder without write permission holds for it too. Its stderr goes to `err`.
pid_t startUpdate(const char* game, const std::string& history, const std::string& download,
                  const std::string& err) {
    const pid_t child = fork();
    if (child == 0) {
        if (!freopen(err.c_str(), "w", stderr)) _exit(126);
        if (getuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(126);
        const char* argv[] = {ZESTAWY_CLI, "--game",         game,   "--history", history.c_str(),
                              "--update",  download.c_str(), nullptr};
        execv(ZESTAWY_CLI, const_cast<char**>(argv));
        _exit(127);
    }
    return child;
}

// The exit code, or 1000 + the signal that ended it.
int finished(pid_t child) {
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1000 + WTERMSIG(status);
}

std::pair<int, std::string> runUpdate(const char* game, const std::string& history,
                                      const std::string& download) {
    const std::string err = fs::path(history).parent_path().parent_path() / "err.txt";
    const int code = finished(startUpdate(game, history, download, err));
    return {code, bytesOf(err)};
}

// The temporary files an update leaves in the folder.
std::vector<fs::path> temporaries(const fs::path& folder) {
    std::vector<fs::path> found;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().filename().string().rfind(".zestawy-", 0) == 0) found.push_back(entry);
    return found;
}

// `count` more Multi Multi draws after the shipped history's last, two a day,
// in the comma-separated layout with a time and a Plus.
std::string laterMultiDraws(int count, unsigned seed) {
    std::mt19937 random(seed);
    std::string text;
    int day = 23, month = 8, year = 2026;
    const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    for (int i = 0; i < count; ++i) {
        std::vector<int> numbers(80);
        for (int n = 0; n < 80; ++n) numbers[n] = n + 1;
        std::shuffle(numbers.begin(), numbers.end(), random);
        numbers.resize(20);
        std::sort(numbers.begin(), numbers.end());
        char head[64];
        std::snprintf(head, sizeof head, "%d,%02d.%02d.%04d,%s", 16979 + i, day, month, year,
                      i % 2 ? "22:00" : "14:00");
        text += head;
        for (const int n : numbers) text += (n < 10 ? ",0" : ",") + std::to_string(n);
        text += "," + std::to_string(numbers[i % 20]) + "\n";
        const bool leap = year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
        if (i % 2 && ++day > days[month - 1] + (month == 2 && leap)) {
            day = 1;
            if (++month > 12) month = 1, ++year;
        }
    }
    return text;
}

TEST(CliUpdate, CompletesHistoriesAndRefusesAnythingThatWouldCorruptThem) {
    const std::string multi = bytesOf(historyPath(Game::MultiMulti));
    const std::string mini = bytesOf(historyPath(Game::MiniLotto));
    const std::string lotto = bytesOf(historyPath(Game::Lotto));
    const std::string multiCsv = bytesOf(kDownloads + "multi_multi.csv");
    const std::string miniCsv = bytesOf(kDownloads + "mini_lotto.csv");
    const std::string lottoCsv = bytesOf(kDownloads + "lotto.csv");
    const std::string lastThree = replaced(lines(lotto, -3), "\r", "");
    // Another source numbers the same Lotto draws from 7395 where ours has 6304.
    std::string renumbered;
    std::istringstream ours(lines(lottoCsv, 6303));
    for (std::string line; std::getline(ours, line);)
        renumbered += std::to_string(std::stoi(line) + 1091) + line.substr(line.find(',')) + "\n";

    // Foreign: a file of root's, where the others are the tool's user's.
    enum Kind { File, ReadOnlyFolder, Device, Fifo, Folder, Link, Foreign };
    struct Case {
        const char* name;
        const char* game;
        std::string history;   // its bytes
        std::string download;  // the downloaded file's bytes
        int code;              // exit code
        std::string after;     // the history's bytes after; "" when unchanged
        std::string said;      // in what stderr says
        Kind kind;
    };
    const std::string fence = "\r\n";
    const Case cases[] = {
        {"multi from csv", "multi", lines(multi, 0, 40), multiCsv, 0, multi,
         u8"Brak w numeracji losowań, także w pobranym pliku: 16945, 16949", File},
        {"mini from csv", "mini", lines(mini, 0, 7000), miniCsv, 0, mini,
         u8"Dopisano 355 losowań: od 7064. ", File},
        {"lotto from csv", "lotto", lines(lotto, 0, 7390), lottoCsv, 0, lotto,
         "Dopisano 4 losowania: od 7391. 13.08.2026 do 7394. 20.08.2026.", File},
        {"own layout, LF, BOM", "lotto", lines(lotto, 0, -3), "\xEF\xBB\xBF" + lastThree, 0, lotto,
         "Dopisano 3 losowania", File},
        {"blanks after commas", "lotto", lines(lotto, 0, -3), replaced(lastThree, ",", ", "), 0,
         lotto, "Dopisano 3 losowania", File},
        {"a semicolon file", "lotto", lines(lotto, 0, 7390), replaced(lottoCsv, ",", ";"), 0, lotto,
         "Dopisano 4 losowania", File},
        {"a header with digits", "multi", lines(multi, 0, 16000),
         "Numer,Data,Godzina,L1\n" + multiCsv, 0, multi,
         u8"Pominięto 1 wiersz bez losowania (z literami): 1.", File},
        {"a gap filled", "lotto", lines(lotto, 0, 7000) + lines(lotto, 7100), lottoCsv, 0, lotto,
         u8"W tym w luki w numeracji pliku wyników: 100 losowań.", File},
        {"a download that does not reach back", "lotto", lines(lotto, 0, 7000),
         lines(lottoCsv, -50), 1, "",
         u8"Pobrany plik nie ma ani jednego wspólnego losowania z plikiem wyników (jego "
         "losowania to 7345–7394, plik wyników kończy się na 7000)",
         File},
        {"a trailing empty line", "lotto", lines(lotto, 0, 7390) + fence, lottoCsv, 0, lotto,
         "Dopisano 4 losowania", File},
        {"nothing new", "lotto", lotto, lottoCsv, 0, "", "Nic nowego", File},
        {"a date conflict", "lotto", lines(lotto, 0, 7390),
         replaced(lottoCsv, "7000,13.02.2024", "7000,14.02.2024"), 1, "",
         u8"nr 7000: w pliku wyników „7000. 13.02.2024", File},
        {"the same date, other numbers", "lotto", lines(lotto, 0, 7390),
         replaced(lottoCsv, "7000,13.02.2024,01,", "7000,13.02.2024,02,"), 1, "",
         u8"nr 7000: w pliku wyników „7000. 13.02.2024", File},
        {"another source's numbering", "lotto", lotto, renumbered, 1, "",
         u8"nr 7395 pobranego pliku to nr 6304 pliku wyników (03.09.2019)", File},
        {"a draw dated before the last", "mini", mini, "17418. 01.01.1990 1,2,3,4,5\n", 1, "",
         u8"daty cofają się, choć numery rosną", File},
        {"a draw number of 20 digits", "lotto", lines(lotto, 0, 7390),
         lottoCsv + "12345678901234567890,21.08.2026,01,02,03,04,05,06\n", 1, "",
         "numer losowania ma ponad 9 cyfr", File},
        {"a Plus of 81", "multi", lines(multi, 0, 16000),
         lines(multiCsv, 0, -1) + replaced(lines(multiCsv, -1), ",78,78\n", ",78,81\n"), 1, "",
         u8"liczba Plus 81 spoza zakresu 0–80", File},
        {"a last line without numbers", "multi", lines(multi, 0, -1) + "16978. 22.08.2026\r\n",
         multiCsv, 1, "", u8"Ostatni wiersz pliku wyników (wiersz 16962: „16978. 22.08.2026”)",
         File},
        {"another game", "lotto", lines(lotto, 0, 7390), multiCsv, 1, "",
         u8"mają po 20 liczb, jak w grze Multi Multi", File},
        {"a bad new draw", "lotto", lines(lotto, 0, 7390),
         replaced(lottoCsv, "7393,18.08.2026,09", "7393,18.08.2026,50"), 1, "",
         u8"wiersz 7393 (nr 7393): liczba 50 spoza zakresu 1–49", File},
        {"an empty download", "lotto", lotto, "", 2, "",
         u8"W pobranym pliku nie ma żadnego losowania", File},
        {"an unwritable folder", "lotto", lines(lotto, 0, 7390), lottoCsv, 1, "",
         u8"Nie można zapisać pliku wyników", ReadOnlyFolder},
        {"a character device", "lotto", "", lottoCsv, 1, "", u8"To nie jest zwykły plik", Device},
        {"a FIFO", "lotto", "", lottoCsv, 1, "", u8"To nie jest zwykły plik", Fifo},
        {"a folder", "lotto", "", lottoCsv, 1, "", u8"To nie jest zwykły plik", Folder},
        {"a symbolic link", "lotto", lines(lotto, 0, 7390), lottoCsv, 0, lotto,
         "Dopisano 4 losowania", Link},
        {"another user's file", "lotto", lines(lotto, 0, 7390), lottoCsv, 1, "",
         u8"należy do innego użytkownika", Foreign},
    };
    const fs::path top = ownFolder();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path folder = top / "history";
        fs::create_directory(folder);
        const std::string download = top / "download", target = folder / "target.txt";
        const std::string history = folder / (c.kind == Link ? "link.txt" : "target.txt");
        writeBytes(download, c.download);
        bool made = true;
        if (c.kind == Device) made = mknod(target.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0;
        if (c.kind == Fifo) made = mkfifo(target.c_str(), 0666) == 0;
        if (c.kind == Folder) fs::create_directory(target);
        if (c.kind == File || c.kind == ReadOnlyFolder || c.kind == Link || c.kind == Foreign) {
            writeBytes(target, c.history);
            fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write |
                                        fs::perms::group_read | fs::perms::group_write |
                                        fs::perms::others_read | fs::perms::others_write);
            // The tool runs as nobody: the history is nobody's, as a user's own.
            if (c.kind != Foreign) ownedByTool(target);
            made = c.kind != Foreign || getuid() == 0;
        }
        if (c.kind == Link) fs::create_symlink("target.txt", history);
        if (!made) {
            std::printf("(%s: not made here, left out)\n", c.name);
            fs::remove_all(folder);
            continue;
        }
        // Written by whoever runs the tool, only through the folder.
        fs::permissions(folder, c.kind == ReadOnlyFolder
                                    ? fs::perms::all & ~fs::perms::owner_write &
                                          ~fs::perms::group_write & ~fs::perms::others_write
                                    : fs::perms::all);
        const auto before = fs::symlink_status(target).type();
        const auto written = fs::last_write_time(target);

        const auto [code, err] = runUpdate(c.game, history, download);
        EXPECT_EQ(code, c.code) << err;
        EXPECT_NE(err.find(c.said), std::string::npos) << err;
        EXPECT_EQ(fs::symlink_status(target).type(), before);
        if (before == fs::file_type::regular) {
            EXPECT_EQ(bytesOf(target), c.after.empty() ? c.history : c.after);
        }
        if (c.after.empty()) {
            EXPECT_EQ(fs::last_write_time(target), written);
        }
        EXPECT_EQ(fs::is_symlink(history), c.kind == Link);
        EXPECT_TRUE(temporaries(folder).empty()) << "a temporary file was left";
        fs::permissions(folder, fs::perms::all);
        fs::remove_all(folder);
    }
}

TEST(CliUpdate, TwoUpdatesAtOnceLoseNoDraw) {
    const fs::path folder = ownFolder();
    const std::string lotto = bytesOf(historyPath(Game::Lotto));
    const std::string csv = bytesOf(kDownloads + "lotto.csv");
    const std::string history = folder / "history.txt";
    const std::string first = folder / "first.csv", second = folder / "second.csv";
    // Each brings half of the missing draws, and draw 6000, which ties it to
    // the history.
    writeBytes(first, lines(csv, 5999, 6700));
    writeBytes(second, lines(csv, 5999, 6000) + lines(csv, 6700));
    for (int round = 0; round < 10; ++round) {
        SCOPED_TRACE(round);
        writeBytes(history, lines(lotto, 0, 6000));
        ownedByTool(history);
        fs::permissions(history, fs::perms::all & ~fs::perms::owner_exec & ~fs::perms::group_exec &
                                     ~fs::perms::others_exec);
        const pid_t a = startUpdate("lotto", history, first, folder / "a.txt");
        const pid_t b = startUpdate("lotto", history, second, folder / "b.txt");
        // The second waits for the first and then reads the file the first
        // made, not the one it opened before the first replaced it.
        EXPECT_EQ(finished(a), 0) << bytesOf(folder / "a.txt");
        EXPECT_EQ(finished(b), 0) << bytesOf(folder / "b.txt");
        EXPECT_TRUE(bytesOf(history) == lotto);
        EXPECT_TRUE(temporaries(folder).empty());
    }
}

// Starts a large update and waits until it writes its temporary file.
pid_t startLargeUpdate(const fs::path& folder, const std::string& history,
                       const std::string& download) {
    const pid_t child = startUpdate("multi", history, download, folder / "err.txt");
    for (int i = 0; i < 10000 && temporaries(folder).empty(); ++i) {
        int status;
        if (waitpid(child, &status, WNOHANG) == child) {
            ADD_FAILURE() << "the update ended before it wrote: " << bytesOf(folder / "err.txt");
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return child;
}

TEST(CliUpdate, StoppedOrKilledMidwayTheHistoryIsOldOrWhole) {
    const fs::path folder = ownFolder();
    const std::string multi = bytesOf(historyPath(Game::MultiMulti));
    const std::string history = folder / "history.txt", download = folder / "download.csv";
    // About 10 MB: long enough to be caught while it writes.
    writeBytes(download, laterMultiDraws(120000, 7));
    auto fresh = [&] {
        writeBytes(history, multi);
        ownedByTool(history);
        fs::permissions(history, fs::perms::all & ~fs::perms::owner_exec & ~fs::perms::group_exec &
                                     ~fs::perms::others_exec);
    };

    // Ctrl-C and a polite kill: stopped, nothing left behind, or done.
    for (const int signal : {SIGINT, SIGTERM}) {
        SCOPED_TRACE(signal);
        fresh();
        const pid_t child = startLargeUpdate(folder, history, download);
        ASSERT_GT(child, 0);
        kill(child, signal);
        const int code = finished(child);
        EXPECT_TRUE(code == 130 || code == 0) << code;
        EXPECT_EQ(bytesOf(history).size() == multi.size(), code == 130);
        EXPECT_TRUE(temporaries(folder).empty());
    }

    // Killed outright at random moments: the old bytes or the whole new ones.
    // How long a whole update takes here sets the span of the kills (no
    // assertion rests on it).
    fresh();
    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(finished(startUpdate("multi", history, download, folder / "err.txt")), 0);
    const auto span = std::chrono::duration_cast<std::chrono::microseconds>(
                          std::chrono::steady_clock::now() - start)
                          .count() *
                      5 / 4;
    const std::string whole = bytesOf(history);
    std::mt19937 random(26);
    int old = 0, complete = 0;
    for (int round = 0; round < 50; ++round) {
        fresh();
        const pid_t child = startUpdate("multi", history, download, folder / "err.txt");
        // Anywhere from the start to past the end of a usual update.
        std::this_thread::sleep_for(std::chrono::microseconds(random() % (span + 1)));
        kill(child, SIGKILL);
        finished(child);
        const std::string after = bytesOf(history);
        ASSERT_TRUE(after == multi || after == whole) << "round " << round;
        ++(after == multi ? old : complete);
    }
    std::printf("killed: %d left old, %d whole\n", old, complete);

    // What SIGKILL left behind goes at the next update, once it is old.
    const std::vector<fs::path> left = temporaries(folder);
    for (const fs::path& file : left)
        fs::last_write_time(file, fs::file_time_type::clock::now() - std::chrono::hours(2));
    writeBytes(folder / ".zestawy-young1", "another update's, still written");
    fresh();
    ASSERT_EQ(finished(startUpdate("multi", history, download, folder / "err.txt")), 0);
    EXPECT_EQ(temporaries(folder), std::vector<fs::path>{folder / ".zestawy-young1"});
}

}  // namespace
#endif
