#include "app/panels.hpp"

#include "app/controls.hpp"
#include "app/window.hpp"

using zestawy::Game;

namespace {

const GamePanel kPanels[] = {
    {Game::MultiMulti, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 16, 41, 42}, 13, 12, 43, 44, 15, 14},
    {Game::MiniLotto, {20, 21, 22, 23, 24}, 25, 26, 47, 48, 28, 27},
    {Game::Lotto, {30, 31, 32, 33, 34, 35}, 36, 37, 45, 46, 39, 38},
};

// Groups of controls that are shown and hidden together.
enum Group : unsigned {
    kWorkBoxes = 1u << 0,
    kGameButtons = 1u << 1,
    kMultiPanel = 1u << 2,
    kMiniPanel = 1u << 3,
    kLottoPanel = 1u << 4,
    kHelpBox = 1u << 5,
    kAboutBox = 1u << 6,
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
    {kCmdPrepareSearch, kWorkBoxes | kGameButtons, kAboutBox | kHelpBox | kAllPanels},
    {kCmdOpenHelp, kHelpBox, kWorkBoxes | kAllButtons | kAboutBox},
    {kCmdCloseHelp, kWorkBoxes | kGameButtons, kHelpBox | kAboutBox | kAllPanels},
    {14, kMultiPanel, kGameButtons},
    {15, kGameButtons, kMultiPanel},
    {27, kMiniPanel, kGameButtons},
    {28, kGameButtons, kMiniPanel},
    {38, kLottoPanel, kGameButtons},
    {39, kGameButtons, kLottoPanel},
};

// "Wyczyść" empties the four work boxes and enables these buttons of its panel.
struct ClearCommand {
    int id;
    std::vector<int> enables;
};

const ClearCommand kClearCommands[] = {
    {12, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 16, 41, 42, 13, 15}},
    {26, {20, 21, 22, 23, 24, 25, 28}},
    {37, {30, 31, 32, 33, 34, 35, 39}},
};

std::vector<HWND> panelControls(const GamePanel& panel) {
    std::vector<HWND> controls;
    for (int id : panel.searches) controls.push_back(controlById(id));
    for (int id : {panel.load, panel.clear, panel.save, panel.open, panel.otherGames})
        controls.push_back(controlById(id));
    return controls;
}

std::vector<HWND> groupControls(Group group) {
    switch (group) {
        case kWorkBoxes:
            return {hPole1, hPole2, hPole3, hPole4};
        case kGameButtons:
            return {controlById(kPanels[0].gameButton), controlById(kPanels[1].gameButton),
                    controlById(kPanels[2].gameButton)};
        case kMultiPanel:
            return panelControls(kPanels[0]);
        case kMiniPanel:
            return panelControls(kPanels[1]);
        case kLottoPanel:
            return panelControls(kPanels[2]);
        case kHelpBox:
            return {hPole5};
        case kAboutBox:
            return {hPole6};
        default:
            return {};
    }
}

void showGroups(unsigned groups, bool show) {
    for (unsigned bit = 1; bit <= kAboutBox; bit <<= 1)
        if (groups & bit)
            for (HWND control : groupControls(static_cast<Group>(bit)))
                ShowWindow(control, show ? SW_SHOW : SW_HIDE);
}

}  // namespace

const GamePanel& panelOf(Game game) {
    for (const GamePanel& panel : kPanels)
        if (panel.game == game) return panel;
    return kPanels[0];
}

void enableButtons(const std::vector<int>& ids, bool enable) {
    for (int id : ids) EnableWindow(controlById(id), enable);
}

bool handleViewCommand(int id) {
    for (const ViewCommand& command : kViewCommands) {
        if (command.id != id) continue;
        showGroups(command.hide, false);
        showGroups(command.show, true);
        return true;
    }
    return false;
}

bool handleClearCommand(int id) {
    for (const ClearCommand& command : kClearCommands) {
        if (command.id != id) continue;
        for (HWND box : {hPole1, hPole2, hPole3, hPole4}) SetWindowTextA(box, "");
        enableButtons(command.enables, true);
        return true;
    }
    return false;
}
