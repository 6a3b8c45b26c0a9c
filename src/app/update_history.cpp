#include "app/update_history.hpp"

#include <string>

#include "app/files.hpp"
#include "commands/update.hpp"
#include "history/file_name.hpp"
#include "history/history.hpp"

using namespace zestawy;

namespace {

const char kCaption[] = "Uzupełnij wyniki losowań";
const char kFilter[] = "Wyniki losowań (*.txt;*.csv)\0*.txt;*.csv\0Wszystkie pliki (*.*)\0*.*\0";

const char kChoose[] = "Wybierz pobrany plik z wynikami";

}  // namespace

bool handleUpdateCommand(WindowState& state, int id) {
    if (id != kCmdUpdateHistory) return false;
    std::string path;
    if (!chooseFile(state.main, {false, {kFilter, sizeof kFilter}, 1, kChoose, nullptr, false},
                    path))
        return true;
    std::string download;
    if (readWholeFile(path, download, kMaxHistoryBytes) != HistoryRead::Ok) {
        const std::string why = "Nie udało się przeczytać pliku '" + shownPath(path) +
                                "' (albo ma ponad " + historyLimitText() + "). Nic nie zapisano.";
        messageBox(state.main, why.c_str(), kCaption, MB_ICONERROR);
        return true;
    }
    const GameRow* game = recogniseGame(download);
    if (!game) {
        std::string text;
        for (const std::string& line : unrecognisedGame(download)) text += line + "\n";
        messageBox(state.main, text.c_str(), kCaption, MB_ICONERROR);
        return true;
    }
    // The history that "Wczytaj" would read; a new one beside the program
    // when there is none.
    std::string history = findHistory(*game);
    if (history.empty()) history = programFolder() + "\\" + game->historyFileUtf8;
    const UpdatePlan plan = updateHistoryFile(history, download, *game);
    // The next "Wczytaj" reads the file with its new draws.
    if (plan.kind == UpdateKind::Added) state.history(game->game).clear();
    std::string text = std::string(game->name) + ", plik '" + shownPath(history) + "':";
    for (const std::string& line : plan.message) text += "\n" + line;
    const bool ok = plan.kind == UpdateKind::Added || plan.kind == UpdateKind::NothingNew;
    const UINT icon = !ok ? MB_ICONERROR : plan.warning ? MB_ICONWARNING : MB_ICONINFORMATION;
    messageBox(state.main, text.c_str(), kCaption, icon);
    return true;
}
