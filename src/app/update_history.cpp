#include "app/update_history.hpp"

#include <commdlg.h>

#include <string>

#include "commands/update.hpp"
#include "history/history.hpp"

using namespace zestawy;

namespace {

const char kCaption[] = "Uzupełnij wyniki losowań";
const char kFilter[] = "Wyniki losowań (*.txt;*.csv)\0*.txt;*.csv\0Wszystkie pliki (*.*)\0*.*\0";

bool chooseDownload(HWND main, char (&path)[MAX_PATH]) {
    path[0] = '\0';
    OPENFILENAMEA ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = main;
    ofn.lpstrFilter = kFilter;
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = path;
    ofn.nMaxFile = MAX_PATH;
    // OFN_NOCHANGEDIR: the history files are found in the working folder.
    ofn.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    return GetOpenFileNameA(&ofn) != 0;
}

}  // namespace

bool handleUpdateCommand(WindowState& state, int id) {
    if (id != kCmdUpdateHistory) return false;
    char path[MAX_PATH];
    if (!chooseDownload(state.main, path)) return true;
    std::string download;
    if (readWholeFile(path, download, kMaxHistoryBytes) != HistoryRead::Ok) {
        const std::string why = std::string("Nie udało się przeczytać pliku '") + path +
                                "' (albo ma ponad " + historyLimitText() + "). Nic nie zapisano.";
        MessageBoxA(state.main, why.c_str(), kCaption, MB_ICONERROR);
        return true;
    }
    const GameRow* game = recogniseGame(download);
    if (!game) {
        std::string text;
        for (const std::string& line : unrecognisedGame(download)) text += line + "\n";
        MessageBoxA(state.main, text.c_str(), kCaption, MB_ICONERROR);
        return true;
    }
    const UpdatePlan plan = updateHistoryFile(game->historyFile, download, *game);
    // The next "Wczytaj" reads the file with its new draws.
    if (plan.kind == UpdateKind::Added) state.history(game->game).clear();
    std::string text = std::string(game->name) + ", plik '" + game->historyFile + "':";
    for (const std::string& line : plan.message) text += "\n" + line;
    const bool ok = plan.kind == UpdateKind::Added || plan.kind == UpdateKind::NothingNew;
    const UINT icon = !ok ? MB_ICONERROR : plan.warning ? MB_ICONWARNING : MB_ICONINFORMATION;
    MessageBoxA(state.main, text.c_str(), kCaption, icon);
    return true;
}
