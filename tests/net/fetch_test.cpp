// The fetch against a results server of the test's own, good answers and
// faulty ones alike: natively through libcurl, in the Windows build through
// WinINet under Wine.
#include "net/fetch.hpp"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>

#include "net/download.hpp"
#include "net/results_server.hpp"

namespace zestawy {
namespace {

using nettest::Answer;
using nettest::ResultsServer;

// A little over a megabyte, so that the file comes in many pieces.
std::string someFile() {
    std::string text;
    for (int i = 1; text.size() < (1u << 20) + 12345; ++i)
        text += std::to_string(i) + ". 01.01.2000 1,2,3,4,5,6\r\n";
    return text;
}

TEST(Fetch, TakesTheWholeFileOrTellsWhyNot) {
#ifndef _WIN32
    setenv("no_proxy", "127.0.0.1", 1);
#endif
    const std::string file = someFile();
    ResultsServer server({
        {"/plik.csv", {Answer::Whole, file}},
        {"/brak.csv", {Answer::Whole, "nie ma", 404}},
        {"/blad.csv", {Answer::Whole, "awaria", 500}},
        {"/przeniesiony.csv", {Answer::Redirect, "/plik.csv"}},
        {"/stoi.csv", {Answer::Stall, file}},
        {"/urwany.csv", {Answer::CutShort, file}},
        {"/bez-konca.csv", {Answer::Endless, file}},
    });
    const struct {
        std::string url;
        const char* failure;  // "" for the file itself
    } cases[] = {
        {server.url("/plik.csv"), ""},
        {server.url("/przeniesiony.csv"), ""},
        {server.url("/brak.csv"), "serwer odpowiedział HTTP 404, nie ma tam takiego pliku"},
        {server.url("/blad.csv"), "serwer odpowiedział HTTP 500"},
        {ResultsServer::refusedUrl(), "brak połączenia z serwerem 127.0.0.1"},
        {server.url("/stoi.csv"), "przekroczony czas: 1 s bez danych"},
        {server.url("/urwany.csv"), "połączenie zerwane przed końcem pliku"},
        {server.url("/bez-konca.csv"), "plik ma ponad 64 MB"},
        {"ftp://127.0.0.1/plik.csv", "adres nie zaczyna się od http:// ani https://"},
    };
    FetchLimits limits;
    limits.idleSeconds = 1;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.url);
        std::size_t lastGot = 0;
        bool rising = true;
        const Fetched fetched = fetch(c.url, limits, [&](std::size_t got, std::size_t) {
            rising = rising && got >= lastGot;
            lastGot = got;
        });
        EXPECT_EQ(fetched.failure, c.failure);
        EXPECT_EQ(fetched.ok, !*c.failure);
        EXPECT_FALSE(fetched.stopped);
        EXPECT_TRUE(rising);
        if (fetched.ok) {
            EXPECT_TRUE(fetched.body == file);
            EXPECT_EQ(lastGot, file.size());
        }
    }
}

// A stop ends a download that trickles, and one that waits on a silent
// server, long before either would end by itself.
TEST(Fetch, StopsWhenAsked) {
    ResultsServer server({{"/wolno.csv", {Answer::Trickle, someFile()}},
                          {"/stoi.csv", {Answer::Stall, someFile()}}});
    for (const char* path : {"/wolno.csv", "/stoi.csv"}) {
        std::atomic<bool> stop{false};
        const Fetched fetched = fetch(
            server.url(path), FetchLimits{},
            [&](std::size_t got, std::size_t) {
                if (got > 0) stop = true;
            },
            [&] { return !stop; });
        EXPECT_TRUE(fetched.stopped) << path;
        EXPECT_EQ(fetched.failure, "przerwano");
        EXPECT_TRUE(fetched.body.empty());
        // A game's download stopped so: its summary says so, and no file is touched.
        stop = false;
        const GameRow& multi = gameRow(Game::MultiMulti);
        const GameDownload download = downloadInto(
            "/nonexistent/history.txt", server.url(path), multi, FetchLimits{},
            [&](std::size_t got, std::size_t) {
                if (got > 0) stop = true;
            },
            [&] { return !stop; }, [] { return true; });
        EXPECT_TRUE(download.stopped) << path;
        EXPECT_EQ(downloadSummary(download),
                  std::string(multi.name) + ": przerwano, nic nie zapisano");
    }
}

}  // namespace
}  // namespace zestawy
