#include "app/panels.hpp"

#include "app/ranking_screen.hpp"
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
    {kCmdPrepareSearch, kWorkBoxes | kGameButtons, kAboutBox | kHelpBox | kAllPanels | kRanking},
    {kCmdOpenHelp, kHelpBox, kWorkBoxes | kAllButtons | kAboutBox | kRanking},
    {kCmdCloseHelp, kWorkBoxes | kGameButtons, kHelpBox | kAboutBox | kAllPanels | kRanking},
    {kCmdRanking, kRanking, kAboutBox | kHelpBox | kWorkBoxes | kAllButtons},
    {kMultiGame, kMultiPanel, kGameButtons},
    {kMultiOtherGames, kGameButtons, kMultiPanel},
    {kMiniGame, kMiniPanel, kGameButtons},
    {kMiniOtherGames, kGameButtons, kMiniPanel},
    {kLottoGame, kLottoPanel, kGameButtons},
    {kLottoOtherGames, kGameButtons, kLottoPanel},
};

const PanelRules kPanelRules[] = {
    {Game::MultiMulti, true, false, true, false},
    {Game::MiniLotto, true, true, true, true},
    {Game::Lotto, false, false, false, false},
};

std::vector<HWND> groupControls(const WindowState& state, Group group) {
    std::vector<HWND> controls;
    switch (group) {
        case kWorkBoxes:
            return state.workBoxes();
        case kGameButtons:
            for (const GameRow& game : kGames) controls.push_back(state.control(game.gameButton));
            return controls;
        case kMultiPanel:
        case kMiniPanel:
        case kLottoPanel:
            for (int id : panelButtons(kGames[group == kMultiPanel  ? 0
                                              : group == kMiniPanel ? 1
                                                                    : 2]))
                controls.push_back(state.control(id));
            return controls;
        case kHelpBox:
            return {state.helpBox};
        case kAboutBox:
            return {state.aboutBox};
        case kRanking:
            return rankingControls(state);
        default:
            return {};
    }
}

void showGroups(const WindowState& state, unsigned groups, bool show) {
    for (unsigned bit = 1; bit <= kRanking; bit <<= 1)
        if (groups & bit)
            for (HWND control : groupControls(state, static_cast<Group>(bit)))
                ShowWindow(control, show ? SW_SHOW : SW_HIDE);
}

}  // namespace

const PanelRules& panelRules(Game game) {
    return kPanelRules[static_cast<int>(game)];
}

std::vector<int> panelButtons(const GameRow& game) {
    std::vector<int> ids = searchButtonsOf(game.game);
    ids.insert(ids.end(), {game.load, game.clear, game.save, game.open, game.otherGames});
    return ids;
}

void enableButtons(const WindowState& state, const std::vector<int>& ids, bool enable) {
    for (int id : ids) EnableWindow(state.control(id), enable);
}

bool handleViewCommand(WindowState& state, int id) {
    for (const ViewCommand& command : kViewCommands) {
        if (command.id != id) continue;
        // Leaving the ranking screen stops a ranking that is running.
        if (command.hide & kRanking) stopRanking(state);
        showGroups(state, command.hide, false);
        showGroups(state, command.show, true);
        return true;
    }
    return false;
}

// "Wyczyść" empties the four work boxes and enables the searches and "Inne
// gry" of its panel, and on some panels "Wczytaj".
bool handleClearCommand(WindowState& state, int id) {
    for (const GameRow& game : kGames) {
        if (game.clear != id) continue;
        for (HWND box : state.workBoxes()) SetWindowTextA(box, "");
        state.numbersGame.reset();
        std::vector<int> enables = searchButtonsOf(game.game);
        if (panelRules(game.game).clearEnablesLoad) enables.push_back(game.load);
        enables.push_back(game.otherGames);
        enableButtons(state, enables, true);
        return true;
    }
    return false;
}
