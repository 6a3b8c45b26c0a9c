// zestawy-cli --download and --update URL against a results server of the
// test's own: the three histories completed byte for byte, and on every
// fault a message and each history as it was, bytes and modification time.
#ifndef _WIN32
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "cli/run_cli.hpp"
#include "history/encoding.hpp"
#include "net/download_cases.hpp"
#include "search/draw_lists.hpp"
#include "test_folder.hpp"

namespace zestawy {
namespace {

namespace fs = std::filesystem;
using nettest::Answer;
using nettest::fileText;
using nettest::ResultsServer;

const std::string kDownloads = std::string(ZESTAWY_DATA_DIR) + "/downloads/";
const char* const kCsv[] = {"multi_multi.csv", "mini_lotto.csv", "lotto.csv"};

void write(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

struct Folder {
    fs::path path = testing_folder::testFolder();
    const ResultsServer& server;

    fs::path history(int game) const { return path / gameRow(Game(game)).historyFileUtf8; }
    // zrodla.txt: Multi Multi from `multi`, the others from their files.
    void sources(const std::string& multi) const {
        write(path / "zrodla.txt", nettest::sourcesText(server, multi));
    }
};

TEST(CliDownload, CompletesTheHistoriesAndLeavesThemAsTheyWereOnEveryFault) {
    setenv("no_proxy", "127.0.0.1", 1);
    const ResultsServer server(nettest::downloadAnswers(kDownloads));
    const Folder folder{testing_folder::testFolder(), server};
    std::string whole[3];
    for (int game = 0; game < 3; ++game) {
        whole[game] = fileText(draw_lists::historyPath(Game(game)));
        std::size_t cut = whole[game].size();
        for (int line = 0; line < 101; ++line) cut = whole[game].rfind('\n', cut - 1);
        write(folder.history(game), whole[game].substr(0, cut + 1));
    }
    folder.sources(server.url("/przeniesiony.csv"));
    const clitest::CliResult first = clitest::runInProcess({"--download"}, folder.path);
    EXPECT_EQ(first.code, 0) << first.err;
    for (int game = 0; game < 3; ++game) {
        EXPECT_TRUE(fileText(folder.history(game)) == whole[game]) << game;
        EXPECT_NE(first.err.find(utf8FromCp1250(std::string(gameRow(Game(game)).name) +
                                                ": dopisano 100 losowań, do ")),
                  std::string::npos)
            << first.err;
    }

    const auto old = fs::file_time_type::clock::now() - std::chrono::hours(24 * 30);
    for (const nettest::Fault& f : nettest::downloadFaults()) {
        SCOPED_TRACE(f.path);
        for (int game = 0; game < 3; ++game) fs::last_write_time(folder.history(game), old);
        folder.sources(f.path.empty() ? ResultsServer::refusedUrl() : server.url(f.path));
        const clitest::CliResult run = clitest::runInProcess({"--download"}, folder.path);
        EXPECT_EQ(run.code, f.ok ? 0 : 1);
        EXPECT_EQ(run.err.find(utf8FromCp1250(std::string("zestawy-cli: Multi Multi: ") + f.said)),
                  0u)
            << run.err;
        EXPECT_NE(run.err.find(utf8FromCp1250("zestawy-cli: Lotto: nic nowego\n")),
                  std::string::npos);
        for (int game = 0; game < 3; ++game) {
            EXPECT_TRUE(fileText(folder.history(game)) == whole[game]) << game;
            EXPECT_TRUE(fs::last_write_time(folder.history(game)) == old) << game;
        }
    }

    // --update takes an address too, and a bad zrodla.txt is named.
    const clitest::CliResult missing = clitest::runInProcess(
        {"--game", "lotto", "--update", server.url("/brak.csv")}, folder.path);
    EXPECT_EQ(missing.code, 2);
    EXPECT_EQ(missing.err, utf8FromCp1250("zestawy-cli: Nie udało się pobrać pliku z " +
                                          server.url("/brak.csv") +
                                          " (serwer odpowiedział HTTP 404, nie ma tam takiego "
                                          "pliku). Nic nie zapisano.\n"));
    write(folder.path / "zrodla.txt", "multi = ftp://x\n");
    const clitest::CliResult bad = clitest::runInProcess({"--download"}, folder.path);
    EXPECT_EQ(bad.code, 2);
    EXPECT_EQ(bad.err.rfind("zestawy-cli: zrodla.txt, wiersz 1", 0), 0u) << bad.err;
}

// Ctrl-C while the tool downloads ends it at once, with nothing written.
TEST(CliDownload, CtrlCStopsAtOnceWithNothingWritten) {
    std::map<std::string, Answer> answers;
    for (const char* csv : kCsv)
        answers["/" + std::string(csv)] = {Answer::Trickle, fileText(kDownloads + csv)};
    const ResultsServer server(answers);
    const Folder folder{testing_folder::testFolder(), server};
    folder.sources(server.url("/multi_multi.csv"));
    // The tool looks for zrodla.txt and the histories beside itself.
    fs::copy_file(ZESTAWY_CLI, folder.path / "zestawy-cli");
    const std::string first =
        "1. 18.03.1996 1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20\r\n";
    write(folder.history(0), first);
    const pid_t child = fork();
    if (child == 0) {
        setenv("no_proxy", "127.0.0.1", 1);
        if (!freopen("/dev/null", "w", stderr)) _exit(126);
        const std::string tool = (folder.path / "zestawy-cli").string();
        execl(tool.c_str(), tool.c_str(), "--download", nullptr);
        _exit(127);
    }
    // Stopped while it downloads: once the server has its request.
    for (int i = 0; i < 1000 && server.requests() == 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    kill(child, SIGINT);
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 130) << status;
    EXPECT_EQ(fileText(folder.history(0)), first);
    for (const auto& entry : fs::directory_iterator(folder.path))
        EXPECT_NE(entry.path().filename().string()[0], '.') << entry.path();
}

}  // namespace
}  // namespace zestawy
#endif
