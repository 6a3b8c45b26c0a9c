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
#include "net/results_server.hpp"
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
        write(path / "zrodla.txt", "# z serwera testu\nmulti = " + multi +
                                       "\nmini = " + server.url("/mini_lotto.csv") +
                                       "\nlotto = " + server.url("/lotto.csv") + "\nczas = 1\n");
    }
};

std::map<std::string, Answer> served() {
    std::map<std::string, Answer> answers;
    for (const char* csv : kCsv)
        answers["/" + std::string(csv)] = {Answer::Whole, fileText(kDownloads + csv)};
    std::string conflicting = answers["/multi_multi.csv"].body;
    conflicting.replace(conflicting.find(",18.03.1996,"), 12, ",19.03.1996,");
    std::string endless = answers["/multi_multi.csv"].body;
    answers["/przeniesiony.csv"] = {Answer::Redirect, "/multi_multi.csv"};
    answers["/inna-gra.csv"] = answers["/lotto.csv"];
    answers["/sprzeczny.csv"] = {Answer::Whole, conflicting};
    answers["/stoi.csv"] = {Answer::Stall, endless};
    answers["/urwany.csv"] = {Answer::CutShort, endless};
    answers["/bez-konca.csv"] = {Answer::Endless, endless};
    answers["/blad.csv"] = {Answer::Whole, "awaria", 500};
    return answers;
}

TEST(CliDownload, CompletesTheHistoriesAndLeavesThemAsTheyWereOnEveryFault) {
    setenv("no_proxy", "127.0.0.1", 1);
    const ResultsServer server(served());
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

    const struct {
        std::string multi;
        int code;
        const char* said;  // of Multi Multi; the other two have nothing new
    } faults[] = {
        {server.url("/przeniesiony.csv"), 0, "nic nowego"},
        {server.url("/brak.csv"), 1,
         "nie udało się pobrać (serwer odpowiedział HTTP 404, nie ma tam takiego pliku)"},
        {server.url("/blad.csv"), 1, "nie udało się pobrać (serwer odpowiedział HTTP 500)"},
        {ResultsServer::refusedUrl(), 1, "nie udało się pobrać (brak połączenia z serwerem"},
        {server.url("/stoi.csv"), 1, "nie udało się pobrać (przekroczony czas: 1 s bez danych)"},
        {server.url("/urwany.csv"), 1,
         "nie udało się pobrać (połączenie zerwane przed końcem pliku)"},
        {server.url("/bez-konca.csv"), 1, "nie udało się pobrać (plik ma ponad 64 MB)"},
        {server.url("/inna-gra.csv"), 1,
         "nic nie zapisano\n    Pobrany plik nie zawiera losowań gry Multi Multi"},
        {server.url("/sprzeczny.csv"), 1, "nic nie zapisano\n    "},
    };
    const auto old = fs::file_time_type::clock::now() - std::chrono::hours(24 * 30);
    for (const auto& f : faults) {
        SCOPED_TRACE(f.multi);
        for (int game = 0; game < 3; ++game) fs::last_write_time(folder.history(game), old);
        folder.sources(f.multi);
        const clitest::CliResult run = clitest::runInProcess({"--download"}, folder.path);
        EXPECT_EQ(run.code, f.code);
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
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
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
