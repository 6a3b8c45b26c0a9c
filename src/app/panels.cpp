#include "app/panels.hpp"

#include "app/screen.hpp"
#include "commands/search_command.hpp"

using namespace zestawy;

namespace {

// Groups of controls that are shown and hidden together.
enum Group : unsigned {
    kWorkBoxes = 1u << 0,
    kGameButtons = 1u << 1,
    kMultiPanel = 1u << 2,
    kMiniPanel = 1u << 3,
    kLottoPanel = 1u << 4,
    kHelpBox = 1u << 5,
    kAboutBox = 1u << 6,
    kRanking = 1u << 7,
    kTicket = 1u << 8,
    kBacktest = 1u << 9,
    kWheel = 1u << 10,
    kLastGroup = kWheel,
    kScreens = kRanking | kTicket | kBacktest | kWheel,
    kAllPanels = kMultiPanel | kMiniPanel | kLottoPanel,
    kAllButtons = kGameButtons | kAllPanels,
};

struct ViewCommand {
    int id;
    unsigned show, hide;
};

// Every screen shows one layer: the menu commands hide whatever else is shown,
// so that no button is drawn over another one that would take its click.
const ViewCommand kViewCommands[] = {
    {kCmdPrepareSearch, kWorkBoxes | kGameButtons, kAboutBox | kHelpBox | kAllPanels | kScreens},
    {kCmdOpenHelp, kHelpBox, kWorkBoxes | kAllButtons | kAboutBox | kScreens},
    {kCmdCloseHelp, kWorkBoxes | kGameButtons, kHelpBox | kAboutBox | kAllPanels | kScreens},
    {kCmdRanking, kRanking,
     kAboutBox | kHelpBox | kWorkBoxes | kAllButtons | (kScreens & ~kRanking)},
    {kCmdTicket, kTicket, kAboutBox | kHelpBox | kWorkBoxes | kAllButtons | (kScreens & ~kTicket)},
    {kCmdBacktest, kBacktest,
     kAboutBox | kHelpBox | kWorkBoxes | kAllButtons | (kScreens & ~kBacktest)},
    {kCmdWheel, kWheel, kAboutBox | kHelpBox | kWorkBoxes | kAllButtons | (kScreens & ~kWheel)},
    {kMultiGame, kMultiPanel, kGameButtons},
    {kMultiOtherGames, kGameButtons, kMultiPanel},
    {kMiniGame, kMiniPanel, kGameButtons},
    {kMiniOtherGames, kGameButtons, kMiniPanel},
    {kLottoGame, kLottoPanel, kGameButtons},
    {kLottoOtherGames, kGameButtons, kLottoPanel},
};

// The screens' groups, each of the menu command that shows it.
const std::pair<Group, int> kScreenGroups[] = {
    {kRanking, kCmdRanking}, {kTicket, kCmdTicket}, {kBacktest, kCmdBacktest}, {kWheel, kCmdWheel}};
int screenMenu(Group group) {
    for (const auto& [g, menu] : kScreenGroups)
        if (g == group) return menu;
    return 0;
}
unsigned screenGroup(int menu) {
    for (const auto& [g, m] : kScreenGroups)
        if (m == menu) return g;
    return 0;
}

std::vector<HWND> groupControls(const WindowState& state, Group group) {
    std::vector<HWND> controls;
    switch (group) {
        case kWorkBoxes:
            return state.workBoxes();
        case kGameButtons:
            for (const GamePanel& panel : kPanels)
                controls.push_back(state.control(panel.gameButton));
            return controls;
        case kMultiPanel:
        case kMiniPanel:
        case kLottoPanel:
            // The panels' groups follow one another in the order of kPanels.
            for (int i = 0; i < 3; ++i)
                if (group == kMultiPanel << i)
                    for (int id : panelButtons(kPanels[i])) controls.push_back(state.control(id));
            return controls;
        case kHelpBox:
            return {state.helpBox};
        case kAboutBox:
            return {state.aboutBox};
        case kRanking:
        case kTicket:
        case kBacktest:
        case kWheel:
            return screenControls(state, screenMenu(group));
        default:
            return {};
    }
}

void showGroups(const WindowState& state, unsigned groups, bool show) {
    for (unsigned bit = 1; bit <= kLastGroup; bit <<= 1)
        if (groups & bit)
            for (HWND control : groupControls(state, static_cast<Group>(bit)))
                ShowWindow(control, show ? SW_SHOW : SW_HIDE);
}

}  // namespace

// clang-format off
const GamePanel kPanels[3] = {
    {Game::MultiMulti, kMultiGame, kMultiLoad, kMultiClear, kMultiSave, kMultiOpen, kMultiOtherGames,
     true, false, true, false},
    {Game::MiniLotto, kMiniGame, kMiniLoad, kMiniClear, kMiniSave, kMiniOpen, kMiniOtherGames,
     true, true, true, true},
    {Game::Lotto, kLottoGame, kLottoLoad, kLottoClear, kLottoSave, kLottoOpen, kLottoOtherGames,
     false, false, false, false},
};
// clang-format on

const GamePanel& panelOf(Game game) {
    return kPanels[static_cast<int>(game)];
}

std::vector<int> panelButtons(const GamePanel& panel) {
    std::vector<int> ids = searchButtonsOf(panel.game);
    ids.insert(ids.end(), {panel.load, panel.clear, panel.save, panel.open, panel.otherGames});
    return ids;
}

void enableButtons(const WindowState& state, const std::vector<int>& ids, bool enable) {
    for (int id : ids) EnableWindow(state.control(id), enable);
}

bool handleViewCommand(WindowState& state, int id) {
    for (const ViewCommand& command : kViewCommands) {
        if (command.id != id) continue;
        // Leaving a screen stops the work running on it.
        for (AnalysisScreen* screen : state.screens)
            if (command.hide & screenGroup(screen->menu)) screen->stop(state);
        showGroups(state, command.hide, false);
        showGroups(state, command.show, true);
        // The screens are worked from the keyboard from their first field.
        for (const AnalysisScreen* screen : state.screens)
            if (command.show & screenGroup(screen->menu)) SetFocus(state.control(screen->first));
        return true;
    }
    return false;
}

// "Wyczyść" empties the four work boxes and enables the searches and "Inne
// gry" of its panel, and on some panels "Wczytaj".
bool handleClearCommand(WindowState& state, int id) {
    for (const GamePanel& panel : kPanels) {
        if (panel.clear != id) continue;
        for (HWND box : state.workBoxes()) setWindowText(box, "");
        state.numbersGame.reset();
        std::vector<int> enables = searchButtonsOf(panel.game);
        if (panel.clearEnablesLoad) enables.push_back(panel.load);
        enables.push_back(panel.otherGames);
        enableButtons(state, enables, true);
        return true;
    }
    return false;
}
