// "Plik" -> "Pobierz najnowsze wyniki" against a results server of the test's
// own, named in zrodla.txt in the working folder: the three histories
// completed byte for byte; on every fault the summary says so and each
// history is as it was, bytes and modification time; "Przerwij" stops a slow
// download while the window goes on answering.
#include <filesystem>
#include <fstream>

#include "app/app_fixture.hpp"
#include "history/file_name.hpp"
#include "net/download_cases.hpp"

namespace {

using namespace apptest;
using nettest::Answer;
using nettest::fileText;
using nettest::ResultsServer;

const std::string kDownloads = std::string(ZESTAWY_DATA_DIR) + "/downloads/";

class Download : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        folder_ = ownTempFolder("download");
        GetCurrentDirectoryA(MAX_PATH, before_);
    }
    // The folder goes when every test of it has passed.
    static void TearDownTestSuite() {
        SetCurrentDirectoryA(before_);
        if (!failed_) std::filesystem::remove_all(folder_);
    }
    void SetUp() override {
        ASSERT_NE(mainWindow(), nullptr);
        resetToStartState();
        SetCurrentDirectoryA(folder_.c_str());
    }
    void TearDown() override { failed_ = failed_ || HasFailure(); }

    static std::string history(int game) { return kGames[game].historyFile; }
    static void write(const std::string& name, const std::string& bytes) {
        std::ofstream(name, std::ios::binary) << bytes;
    }
    // The file's last write time, or, given one, sets it.
    static FILETIME written(const std::string& name, const FILETIME* set = nullptr) {
        const HANDLE file = CreateFileA(name.c_str(), FILE_WRITE_ATTRIBUTES | GENERIC_READ,
                                        FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        FILETIME time = {};
        if (set) SetFileTime(file, nullptr, nullptr, set);
        GetFileTime(file, nullptr, nullptr, &time);
        CloseHandle(file);
        return time;
    }

    static std::string folder_;
    static char before_[MAX_PATH];
    static bool failed_;
};
std::string Download::folder_;
char Download::before_[MAX_PATH];
bool Download::failed_ = false;

TEST_F(Download, CompletesTheHistoriesAndLeavesThemAsTheyWereOnEveryFault) {
    const ResultsServer server(nettest::downloadAnswers(kDownloads));
    std::string whole[3];
    for (int game = 0; game < 3; ++game) {
        whole[game] = fileText(std::string(ZESTAWY_DATA_DIR) + "/" + history(game));
        std::size_t cut = whole[game].size();
        for (int line = 0; line < 101; ++line) cut = whole[game].rfind('\n', cut - 1);
        write(history(game), whole[game].substr(0, cut + 1));
        state().history(kGames[game].game) = {"kept"};
    }
    write("zrodla.txt", nettest::sourcesText(server, server.url("/przeniesiony.csv")));
    const std::string done = runDownload();
    for (int game = 0; game < 3; ++game) {
        EXPECT_TRUE(fileText(history(game)) == whole[game]) << game;
        EXPECT_NE(done.find(std::string(kGames[game].name) + ": dopisano 100 losowań, do "),
                  std::string::npos)
            << done;
        // "Wczytaj" reads the history again.
        EXPECT_TRUE(state().history(kGames[game].game).empty());
    }

    const FILETIME old = {0x12345678, 0x01D00000};
    for (const nettest::Fault& f : nettest::downloadFaults(server)) {
        const std::string url = nettest::faultUrl(server, f);
        SCOPED_TRACE(url);
        for (int game = 0; game < 3; ++game) written(history(game), &old);
        write("zrodla.txt", nettest::sourcesText(server, url));
        const std::string said = runDownload();
        if (f.requests) {
            // And none more a second after the summary.
            EXPECT_EQ(server.requests(f.path), f.requests);
            Sleep(1000);
            EXPECT_EQ(server.requests(f.path), f.requests);
        }
        EXPECT_EQ(said.find("Pobierz najnowsze wyniki: Multi Multi: " + f.said), 0u) << said;
        EXPECT_NE(said.find("\nLotto: nic nowego"), std::string::npos) << said;
        EXPECT_NE(said.find(f.also), std::string::npos) << said;
        for (int game = 0; game < 3; ++game) {
            EXPECT_TRUE(fileText(history(game)) == whole[game]) << game;
            EXPECT_EQ(CompareFileTime(&old, &static_cast<const FILETIME&>(written(history(game)))),
                      0)
                << game;
        }
    }

    // A bad line of zrodla.txt, or a folder of that name, is told with the
    // file's path, and nothing is fetched.
    const std::string named = "Pobierz najnowsze wyniki: " + folder_ + "\\zrodla.txt";
    const struct {
        const char* text;  // nullptr: a folder
        std::string said;
    } bad[] = {
        {"multi = ftp://x\n", named + ", wiersz 1 („multi = ftp://x”): adres"},
        {"czas = 1\nczas = 1\n", named + ", wiersz 2 („czas = 1”): „czas” jest już w wierszu 1"},
        {nullptr, named + " to folder"},
    };
    const int asked = server.requests();
    for (const auto& b : bad) {
        DeleteFileA("zrodla.txt");
        if (b.text)
            write("zrodla.txt", b.text);
        else
            CreateDirectoryA("zrodla.txt", nullptr);
        const std::string said = runCommand(kCmdDownload, answerBox(IDOK));
        EXPECT_EQ(said.rfind(b.said, 0), 0u) << said;
        RemoveDirectoryA("zrodla.txt");
    }
    EXPECT_EQ(server.requests(), asked);

    // A history found nowhere is made beside the program, as the shipped one.
    DeleteFileA(history(0).c_str());
    write("zrodla.txt", nettest::sourcesText(server, server.url("/multi_multi.csv")));
    const std::string made = runDownload();
    const std::string beside = programFolder() + "\\" + history(0);
    EXPECT_EQ(made.rfind("Pobierz najnowsze wyniki: Multi Multi: utworzono plik „", 0), 0u) << made;
    EXPECT_TRUE(fileText(beside) == whole[0]);
    DeleteFileA(beside.c_str());
    write(history(0), whole[0]);
}

TEST_F(Download, PrzerwijStopsASlowDownloadWhileTheWindowAnswers) {
    const std::string multi = fileText(kDownloads + "multi_multi.csv");
    const ResultsServer server({{"/multi_multi.csv", {Answer::Trickle, multi}}});
    write("zrodla.txt", nettest::sourcesText(server, server.url("/multi_multi.csv")));
    const std::string before = fileText(history(0));
    int answers = 0;
    const std::string said = runDownload([&] {
        HWND progress = nullptr;
        for (DWORD start = GetTickCount(); !progress && GetTickCount() - start < kWaitMs; Sleep(20))
            progress = FindWindowA("ZestawyPobieranie", nullptr);
        for (DWORD_PTR result; answers < 5; Sleep(50))
            if (SendMessageTimeoutA(mainWindow(), WM_NULL, 0, 0, SMTO_BLOCK, kWaitMs, &result))
                ++answers;
        PostMessageA(progress, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(answers, 5);
    EXPECT_EQ(said,
              "Pobierz najnowsze wyniki: Multi Multi: przerwano, nic nie zapisano\n"
              "Mini Lotto: przerwano, nic nie zapisano\nLotto: przerwano, nic nie zapisano");
    EXPECT_TRUE(fileText(history(0)) == before);
}

}  // namespace
