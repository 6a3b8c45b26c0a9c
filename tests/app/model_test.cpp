// Random walks through the program as a user clicks it, on the real window
// with the real histories: after every step the window is compared with a
// small model of what must be shown and enabled and of what the four boxes
// hold. Each walk starts from the start-up state and takes only what a user
// could take: a menu item, a button that is shown and enabled, or typing a
// count. Dialogs are cancelled, and the question about a very long answer is
// answered with Anuluj, or with Tak and then a cancelled save dialog. A search
// over the draws that another game's "Wczytaj" loaded must be refused and
// change nothing. The screens of the "Analiza" menu (ranking, ticket,
// backtest, reduced system) hide every other one and are hidden by each menu item that shows
// another; a ranking or backtest started on one is left running and stopped by
// the screen that follows.
//
// Seeded and reproducible: ZESTAWY_MODEL_SEQUENCES walks (100 by default) of
// 20 steps from ZESTAWY_MODEL_SEED (1 by default), starting with walk
// ZESTAWY_MODEL_FIRST (0); scripts/model_test.sh runs a thousand.
#include <windows.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "app/app_fixture.hpp"
#include "app/backtest_screen.hpp"
#include "app/large_answer.hpp"
#include "app/ranking_screen.hpp"
#include "app/search_buttons.hpp"
#include "app/ticket_screen.hpp"
#include "combinatorics/random.hpp"
#include "commands/search_command.hpp"
#include "history/encoding.hpp"
#include "history/history.hpp"
#include "net/download_cases.hpp"
#include "results_box_text.hpp"

namespace {

using namespace apptest;

struct Panel {
    const char* file;
    std::vector<int> searches;
    int load, clear, save, open, otherGames, gameButton;
    std::vector<int> buttons() const {
        std::vector<int> all = searches;
        all.insert(all.end(), {load, clear, save, open, otherGames});
        return all;
    }
};

// The model's own panels, apart from the program's tables.
const Panel kPanels[] = {
    {"Multi Multi wyniki losowań.txt",
     {kMulti2, kMulti2z3, kMulti3, kMulti3z4, kMulti4, kMulti3z5, kMulti4z5, kMulti4z6, kMulti5z6,
      kMulti5z7, kMulti5z8, kMulti5z5, kMulti6z9, kMulti7z10},
     kMultiLoad,
     kMultiClear,
     kMultiSave,
     kMultiOpen,
     kMultiOtherGames,
     kMultiGame},
    {"Mini Lotto wyniki losowań.txt",
     {kMini1, kMini2, kMini2z3, kMini3z4, kMini3z5},
     kMiniLoad,
     kMiniClear,
     kMiniSave,
     kMiniOpen,
     kMiniOtherGames,
     kMiniGame},
    {"Lotto wyniki losowań.txt",
     {kLotto1, kLotto2, kLotto2z3, kLotto3, kLotto3z4, kLotto3z5},
     kLottoLoad,
     kLottoClear,
     kLottoSave,
     kLottoOpen,
     kLottoOtherGames,
     kLottoGame},
};

// What the window must show: the rules as a user learns them.
struct Model {
    bool about = true, help = false, workBoxes = false;
    int screen = 0;  // the menu item of the "Analiza" screen shown, or 0
    std::set<int> shownButtons;
    std::map<int, bool> enabled;
    std::string numbers, results, dates, count;
    int numbersGame = -1;         // the panel whose "Wczytaj" filled the numbers box
    bool expectQuestion = false;  // the step's command must ask about a long answer

    Model() {
        for (int id : buttonIds()) enabled[id] = true;
    }
    void showGameButtons(bool show) {
        for (const Panel& p : kPanels)
            show ? (void)shownButtons.insert(p.gameButton) : (void)shownButtons.erase(p.gameButton);
    }
    void showPanel(const Panel& p, bool show) {
        for (int id : p.buttons())
            show ? (void)shownButtons.insert(id) : (void)shownButtons.erase(id);
    }
    void enable(std::initializer_list<int> ids, bool on) {
        for (int id : ids) enabled[id] = on;
    }
};

class WindowModel : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        ASSERT_NE(mainWindow(), nullptr);
        // A working folder of its own with the real histories.
        const std::string folder = ownTempFolder("model");
        for (const Panel& p : kPanels) {
            const std::string from = std::string(ZESTAWY_DATA_DIR) + "/" + p.file;
            ASSERT_TRUE(CopyFileA(from.c_str(), (folder + "\\" + p.file).c_str(), FALSE)) << from;
            ASSERT_TRUE(
                zestawy::readHistoryLines(zestawy::utf8FromCp1250(from), history[&p - kPanels]));
        }
        SetCurrentDirectoryA(folder.c_str());
        // "Pobierz najnowsze wyniki" gets the files of the same draws.
        server = std::make_unique<nettest::ResultsServer>(
            nettest::downloadAnswers(std::string(ZESTAWY_DATA_DIR) + "/downloads/"));
        std::ofstream(folder + "\\zrodla.txt", std::ios::binary)
            << nettest::sourcesText(*server, server->url("/multi_multi.csv"));
    }
    static void TearDownTestSuite() { server.reset(); }
    static std::vector<std::string> history[3];
    static std::unique_ptr<nettest::ResultsServer> server;
};
std::vector<std::string> WindowModel::history[3];
std::unique_ptr<nettest::ResultsServer> WindowModel::server;

const std::string kNothingNew =
    "Pobierz najnowsze wyniki: Multi Multi: nic nowego\nMini Lotto: nic nowego\nLotto: nic nowego";

const Panel* panelWith(int id) {
    for (const Panel& p : kPanels) {
        const std::vector<int> ids = p.buttons();
        if (id == p.gameButton || std::find(ids.begin(), ids.end(), id) != ids.end()) return &p;
    }
    return nullptr;
}

// Plays the user of whatever the command shows: "" when it shows nothing.
User cancellingUser(bool takeFile) {
    return [takeFile] {
        HWND box = waitForDialog(mainWindow());
        if (!box) return std::string();
        if (!GetDlgItem(box, 0xFFFF)) {  // a file dialog, not a message box
            press(box, IDCANCEL);
            return std::string("file dialog");
        }
        if (textOf(box) == kAnotherGameCaption) {
            press(box, IDOK);
            return std::string("another game");
        }
        if (!takeFile) {
            press(box, IDCANCEL);
            return std::string("question");
        }
        press(box, GetDlgItem(box, IDYES) ? IDYES : IDOK);
        HWND dialog = waitForDialog(mainWindow(), box);
        if (dialog) press(dialog, IDCANCEL);
        return std::string(dialog ? "question" : "question without a file dialog");
    };
}

// The first difference between the window and the model, or "".
std::string differences(const Model& m) {
    auto visible = [](HWND h) { return IsWindowVisible(h) != 0; };
    if (visible(state().aboutBox) != m.about) return "about box shown: " + std::to_string(!m.about);
    if (visible(state().helpBox) != m.help) return "help box shown: " + std::to_string(!m.help);
    const std::pair<int, std::vector<HWND>> screens[] = {
        {kCmdRanking, screenControls(state(), kCmdRanking)},
        {kCmdTicket, screenControls(state(), kCmdTicket)},
        {kCmdBacktest, screenControls(state(), kCmdBacktest)},
        {kCmdWheel, screenControls(state(), kCmdWheel)}};
    for (const auto& [menu, controls] : screens)
        for (HWND control : controls)
            if (visible(control) != (m.screen == menu))
                return "screen " + std::to_string(menu) +
                       " shown: " + std::to_string(m.screen != menu);
    for (HWND box : {state().numbersBox, state().resultsBox, state().datesBox, state().countBox})
        if (visible(box) != m.workBoxes) return "work box shown: " + std::to_string(!m.workBoxes);
    for (int id : buttonIds()) {
        if (shown(id) != (m.shownButtons.count(id) == 1))
            return "button " + std::to_string(id) + " shown: " + std::to_string(shown(id));
        if (enabled(id) != m.enabled.at(id))
            return "button " + std::to_string(id) + " enabled: " + std::to_string(enabled(id));
    }
    const std::pair<HWND, const std::string*> boxes[] = {{state().numbersBox, &m.numbers},
                                                         {state().resultsBox, &m.results},
                                                         {state().datesBox, &m.dates},
                                                         {state().countBox, &m.count}};
    for (const auto& [box, text] : boxes)
        if (textOf(box) != *text)
            return "box " + std::to_string(GetDlgCtrlID(box)) + " holds " +
                   std::to_string(GetWindowTextLengthA(box)) + " characters, not " +
                   std::to_string(text->size());
    return "";
}

// A count as a user might type it: mostly a few hundred draws, sometimes
// few draws (long answers), every draw, or something that is not a count.
std::string randomCount(std::mt19937& gen) {
    const int kind = static_cast<int>(gen() % 20);
    if (kind < 2) {
        static const char* const odd[] = {"", "0", "-3", "abc", " 12abc", "99999999999"};
        return odd[gen() % 6];
    }
    if (kind < 3) return "100000";
    if (kind < 8) return std::to_string(1 + gen() % 300);
    return std::to_string(300 + gen() % 2700);
}

TEST_F(WindowModel, RandomWalksMatchTheModelAfterEveryStep) {
    const char* sequencesEnv = std::getenv("ZESTAWY_MODEL_SEQUENCES");
    const char* seedEnv = std::getenv("ZESTAWY_MODEL_SEED");
    const char* firstEnv = std::getenv("ZESTAWY_MODEL_FIRST");  // to repeat one failed walk
    const int first = firstEnv ? std::atoi(firstEnv) : 0;
    const int sequences = sequencesEnv ? std::atoi(sequencesEnv) : 100;
    const unsigned seed = seedEnv ? static_cast<unsigned>(std::atoi(seedEnv)) : 1;
    const int kSteps = 20;
    const auto start = std::chrono::steady_clock::now();
    int steps = 0, questions = 0, searches = 0, refusals = 0;

    for (int sequence = first; sequence < first + sequences; ++sequence) {
        std::mt19937 gen(seed * 100003u + static_cast<unsigned>(sequence));
        resetToStartState();
        Model m;
        std::string walk;  // what was done, for the failure message
        for (int step = 0; step < kSteps; ++step, ++steps) {
            // What a user could do now.
            std::vector<int> actions = {kCmdPrepareSearch, kCmdOpenHelp, kCmdCloseHelp, kCmdRanking,
                                        kCmdTicket,        kCmdBacktest, kCmdWheel};
            // Stopped by the next screen.
            if (m.screen == kCmdRanking) actions.push_back(kRankShow);
            if (m.screen == kCmdBacktest) actions.push_back(kBackRun);
            if (gen() % 4 == 0) actions.push_back(kCmdDownload);  // now and then: it takes a while
            for (int id : buttonIds())
                if (m.shownButtons.count(id) && m.enabled[id]) {
                    const Panel* p = panelWith(id);
                    const int weight = !p || id == p->clear ? 1 : id == p->load ? 4 : 2;
                    actions.insert(actions.end(), weight, id);
                }
            if (m.workBoxes) actions.insert(actions.end(), 4, 0);  // 0: type a count
            const int id = actions[gen() % actions.size()];
            const bool takeFile = gen() % 2 == 0;

            if (id == 0) {
                m.count = randomCount(gen);
                SetWindowTextA(state().countBox, m.count.c_str());
                walk += " count'" + m.count + "'";
            } else {
                walk += " " + std::to_string(id);
                const Panel* p = panelWith(id);
                const zestawy::SearchCommand* search = zestawy::findSearchCommand(id);
                bool large = false;
                const bool anotherGame =
                    search && m.numbersGame >= 0 && m.numbersGame != p - kPanels;
                if (search && !anotherGame) {
                    ++searches;
                    const zestawy::DrawList draws = zestawy::splitDrawList(m.numbers);
                    large = zestawy::listsEverySet(*search) &&
                            zestawy::measureAnswer(*search, draws).bytes > zestawy::kAskAbove;
                }
                const std::uint32_t before = zestawy::randomState();
                const std::string seen =
                    id == kCmdDownload ? runDownload() : runCommand(id, cancellingUser(takeFile));
                const std::uint32_t after = zestawy::randomState();
                const bool dialog = p && (id == p->save || id == p->open);
                const std::string expectedSeen = id == kCmdDownload ? kNothingNew
                                                 : anotherGame      ? "another game"
                                                 : large            ? "question"
                                                 : dialog           ? "file dialog"
                                                                    : "";
                if (seen != expectedSeen) {
                    ADD_FAILURE() << "seed " << seed << " walk " << sequence << ":" << walk
                                  << ": the command showed '" << seen << "', not '" << expectedSeen
                                  << "'";
                    return;
                }
                questions += large;
                refusals += anotherGame;

                // The model's step. A download with nothing new changes nothing.
                if (id == kRankShow || id == kBackRun || id == kCmdDownload) {
                } else if (id == kCmdRanking || id == kCmdTicket || id == kCmdBacktest ||
                           id == kCmdWheel) {
                    m.about = m.help = m.workBoxes = false;
                    m.shownButtons.clear();
                    m.screen = id;
                } else if (id == kCmdPrepareSearch || id == kCmdCloseHelp) {
                    m.about = m.help = false;
                    m.screen = 0;
                    m.workBoxes = true;
                    for (const Panel& q : kPanels) m.showPanel(q, false);
                    m.showGameButtons(true);
                } else if (id == kCmdOpenHelp) {
                    m.about = m.workBoxes = false;
                    m.screen = 0;
                    m.help = true;
                    m.shownButtons.clear();
                } else if (id == p->gameButton) {
                    m.showGameButtons(false);
                    m.showPanel(*p, true);
                } else if (id == p->otherGames) {
                    m.showPanel(*p, false);
                    m.showGameButtons(true);
                } else if (id == p->clear) {
                    m.numbers = m.results = m.dates = m.count = "";
                    m.numbersGame = -1;
                    for (int s : p->searches) m.enabled[s] = true;
                    m.enable({p->otherGames}, true);
                    if (id != kLottoClear)
                        m.enable({p->load}, true);  // the Lotto clear leaves its load
                } else if (id == p->load) {
                    const long long count = zestawy::parseCount(m.count);
                    if (id == kMultiLoad) m.enable({kMultiOtherGames}, false);
                    if (id == kMiniLoad) {
                        for (int s : p->searches) m.enabled[s] = true;
                        m.enable({kMiniLoad}, true);
                        m.enable({kMiniOtherGames}, false);
                    }
                    if (count > 0) {
                        const zestawy::LoadedDraws shown =
                            zestawy::latestDraws(WindowModel::history[p - kPanels], count);
                        m.numbers = shown.numbers;
                        m.dates = shown.dates;
                        m.numbersGame = static_cast<int>(p - kPanels);
                        if (id == kMiniLoad) m.enable({kMiniSave, kMiniOpen}, true);
                    }
                } else if (search && !anotherGame) {
                    for (int s : p->searches) m.enabled[s] = s == id;
                    m.enable({p->otherGames}, false);
                    m.enable({p->save, p->open}, true);
                    if (!large) {
                        zestawy::setRandomState(before);
                        m.results = zestawy::runSearchCommand(*search, m.numbers, m.results);
                        if (zestawy::randomState() != after) {
                            ADD_FAILURE() << "seed " << seed << " walk " << sequence << ":" << walk
                                          << ": the random generator went elsewhere";
                            return;
                        }
                    }
                }
            }
            const std::string diff = differences(m);
            if (!diff.empty()) {
                ADD_FAILURE() << "seed " << seed << " walk " << sequence << ":" << walk << ": "
                              << diff;
                return;
            }
        }
    }
    std::printf(
        "%d walks, %d steps (%d searches, %d long answers asked about, %d over another "
        "game's draws refused) in %.0f s\n",
        sequences, steps, searches, questions, refusals,
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
}

}  // namespace
