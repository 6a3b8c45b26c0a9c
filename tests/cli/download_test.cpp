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

// The test's folder, the tool's too; removed when the test passes.
struct Folder {
    fs::path path = testing_folder::testFolder();
    const ResultsServer& server;

    ~Folder() {
        if (!::testing::Test::HasFailure()) fs::remove_all(path);
    }
    fs::path history(int game) const { return path / gameRow(Game(game)).historyFileUtf8; }
    // zrodla.txt: Multi Multi from `multi`, the others from their files.
    void sources(const std::string& multi) const {
        write(path / "zrodla.txt", nettest::sourcesText(server, multi));
    }
};

// The working folder while it lasts.
struct WorkingIn {
    fs::path before = fs::current_path();
    explicit WorkingIn(const fs::path& folder) { fs::current_path(folder); }
    ~WorkingIn() { fs::current_path(before); }
};

// Reads the counter of a path's requests again a second after the download
// ended: nothing may still be asking.
void expectNoMoreRequests(const ResultsServer& server, const nettest::Fault& f) {
    if (!f.requests) return;
    EXPECT_EQ(server.requests(f.path), f.requests);
    std::this_thread::sleep_for(std::chrono::seconds(1));
    EXPECT_EQ(server.requests(f.path), f.requests);
}

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
    for (const nettest::Fault& f : nettest::downloadFaults(server)) {
        const std::string url = nettest::faultUrl(server, f);
        SCOPED_TRACE(url);
        for (int game = 0; game < 3; ++game) fs::last_write_time(folder.history(game), old);
        folder.sources(url);
        const clitest::CliResult run = clitest::runInProcess({"--download"}, folder.path);
        expectNoMoreRequests(server, f);
        EXPECT_EQ(run.code, f.ok ? 0 : 1);
        EXPECT_EQ(run.err.find(utf8FromCp1250(std::string("zestawy-cli: Multi Multi: ") + f.said)),
                  0u)
            << run.err;
        EXPECT_NE(run.err.find(utf8FromCp1250("zestawy-cli: Lotto: nic nowego\n")),
                  std::string::npos);
        EXPECT_NE(run.err.find(utf8FromCp1250(f.also)), std::string::npos) << run.err;
        for (int game = 0; game < 3; ++game) {
            EXPECT_TRUE(fileText(folder.history(game)) == whole[game]) << game;
            EXPECT_TRUE(fs::last_write_time(folder.history(game)) == old) << game;
        }
    }

    // A history found nowhere is made beside the tool, as the shipped one,
    // and --check finds it whole.
    fs::remove(folder.history(0));
    folder.sources(server.url("/multi_multi.csv"));
    const clitest::CliResult made = clitest::runInProcess({"--download"}, folder.path);
    EXPECT_EQ(made.code, 0) << made.err;
    EXPECT_EQ(made.err.find(utf8FromCp1250("zestawy-cli: Multi Multi: utworzono plik „")), 0u)
        << made.err;
    EXPECT_TRUE(fileText(folder.history(0)) == whole[0]);
    EXPECT_EQ(clitest::runInProcess({"--game", "multi", "--check"}, folder.path).code, 0);
}

// --update takes an address too: whatever the fetch gives, the address is
// never read as a path, not even where a folder "http:" holds a file of that
// name.
TEST(CliDownload, UpdateFromAnAddressTellsTheFetchFailure) {
    setenv("no_proxy", "127.0.0.1", 1);
    const ResultsServer server(nettest::downloadAnswers(kDownloads));
    const Folder folder{testing_folder::testFolder(), server};
    const std::string lotto = fileText(draw_lists::historyPath(Game::Lotto));
    write(folder.history(2), lotto.substr(0, lotto.rfind('\n', lotto.size() - 2) + 1));
    const std::string before = fileText(folder.history(2));
    const WorkingIn working(folder.path);
    const struct {
        std::string path;
        std::string failure;
    } cases[] = {
        {"/brak.csv", "serwer odpowiedział HTTP 404, nie ma tam takiego pliku"},
        {"/pusty.csv", "serwer nie przysłał żadnych danych"},
        {"/w-kolko.csv", "za dużo przekierowań (ponad 5) z " + server.url("/w-kolko.csv")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        const std::string url = server.url(c.path);
        // "http://127.0.0.1:PORT/x.csv" as a path is http:/127.0.0.1:PORT/x.csv.
        fs::create_directories(fs::path(url.substr(0, url.rfind('/'))));
        write(url, lotto);
        const clitest::CliResult run =
            clitest::runInProcess({"--game", "lotto", "--update", url}, folder.path);
        EXPECT_EQ(run.code, 2);
        EXPECT_EQ(run.err, utf8FromCp1250("zestawy-cli: Nie udało się pobrać pliku z " + url +
                                          " (" + c.failure + "). Nic nie zapisano.\n"));
        EXPECT_TRUE(fileText(folder.history(2)) == before);
    }
}

// The tool takes zrodla.txt from the working folder first, then from beside
// itself, and names the file it took when a line of it is wrong; a folder
// of that name is wrong too.
TEST(CliDownload, TakesZrodlaFromTheWorkingFolderFirstAndNamesItsPath) {
    setenv("no_proxy", "127.0.0.1", 1);
    const ResultsServer server(nettest::downloadAnswers(kDownloads));
    const Folder folder{testing_folder::testFolder(), server};
    for (int game = 0; game < 3; ++game)
        fs::copy_file(draw_lists::historyPath(Game(game)), folder.history(game));
    const fs::path work = folder.path / "praca";
    const std::string good = nettest::sourcesText(server, server.url("/multi_multi.csv"));
    const std::string folderMark = "<folder>";
    const struct {
        std::string working, beside;  // "": no such file
        int code;
        fs::path named;     // the file the error names
        std::string error;  // what follows the name
    } cases[] = {
        {good, "multi = ftp://x\n", 0, "", ""},
        {"multi = ftp://x\n", good, 2, work / "zrodla.txt", ", wiersz 1 („multi = ftp://x”): "},
        {"", "czas = 1\nCZAS = 1\n", 2, folder.path / "zrodla.txt",
         ", wiersz 2 („CZAS = 1”): „czas” jest już w wierszu 1; zostaw jeden z nich."},
        {folderMark, good, 2, work / "zrodla.txt", " to folder, a "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.working + "|" + c.beside);
        fs::remove_all(work);
        fs::create_directories(work);
        fs::remove(folder.path / "zrodla.txt");
        if (c.working == folderMark) fs::create_directories(work / "zrodla.txt");
        if (!c.working.empty() && c.working != folderMark) write(work / "zrodla.txt", c.working);
        if (!c.beside.empty()) write(folder.path / "zrodla.txt", c.beside);
        const WorkingIn working(work);
        const clitest::CliResult run = clitest::runInProcess({"--download"}, folder.path);
        EXPECT_EQ(run.code, c.code) << run.err;
        if (c.code == 0) continue;
        EXPECT_EQ(run.err.rfind("zestawy-cli: " + c.named.string() + utf8FromCp1250(c.error), 0),
                  0u)
            << run.err;
    }
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
