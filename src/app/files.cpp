#include "app/files.hpp"

#include <commdlg.h>

#include "app/wide.hpp"
#include "history/encoding.hpp"
#include "history/file_name.hpp"
#include "history/replacing_file.hpp"

using namespace zestawy;

namespace {

std::wstring wideText(std::string_view cp1250) {
    return widePath(utf8FromCp1250(cp1250));
}

std::string workingFolder() {
    wchar_t path[MAX_PATH];
    const DWORD length = GetCurrentDirectoryW(MAX_PATH, path);
    if (length == 0 || length >= MAX_PATH) return "";
    std::string folder = utf8Path(std::wstring(path, length));
    if (!folder.empty() && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
    return folder;
}

}  // namespace

std::string findHistory(const GameRow& game) {
    return findFile(game.historyFileUtf8);
}

std::string findFile(const std::string& name) {
    if (fileExists(name)) return name;
    const std::string besideProgram = programFolder() + "\\" + name;
    return fileExists(besideProgram) ? besideProgram : "";
}

std::string historyMissing(const GameRow& game) {
    const std::string name = game.historyFileUtf8;
    const std::string working = workingFolder() + "\\" + name;
    const std::string beside = programFolder() + "\\" + name;
    std::string text = "Nie udało się otworzyć pliku '" + std::string(game.historyFile) +
                       "'.\n\nSzukano:\n" + shownPath(working);
    if (beside != working) text += "\n" + shownPath(beside);
    return text + "\n\nPołóż plik wyników losowań gry " + game.name +
           " obok programu zestawy.exe (albo w folderze, z którego go uruchamiasz).";
}

std::string lastErrorText() {
    const DWORD error = GetLastError();
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string reason = length > 0 ? cp1250FromUtf8(utf8Path(std::wstring(text, length)))
                                    : "błąd systemu nr " + std::to_string(error);
    if (text) LocalFree(text);
    while (!reason.empty() &&
           (reason.back() == '\n' || reason.back() == '\r' || reason.back() == ' '))
        reason.pop_back();
    return reason;
}

std::string shownPath(const std::string& path) {
    return cp1250FromUtf8(path);
}

bool chooseFile(HWND owner, const FileDialog& dialog, std::string& path) {
    wchar_t chosen[MAX_PATH] = {};
    const std::wstring filter = wideText(dialog.filter);
    const std::wstring title = dialog.title ? wideText(dialog.title) : L"";
    const std::wstring extension =
        dialog.defaultExtension ? wideText(dialog.defaultExtension) : L"";
    OPENFILENAMEW ofn = {};
    // The classic structure is 76 bytes in a 32-bit build.
    ofn.lStructSize = dialog.classicSize ? OPENFILENAME_SIZE_VERSION_400W : sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = static_cast<DWORD>(dialog.filterIndex);
    ofn.lpstrFile = chosen;
    ofn.nMaxFile = MAX_PATH;
    ofn.lpstrTitle = dialog.title ? title.c_str() : nullptr;
    ofn.lpstrDefExt = dialog.defaultExtension ? extension.c_str() : nullptr;
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR |
                (dialog.save ? OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
    const BOOL ok = dialog.save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
    if (ok) path = utf8Path(chosen);
    return ok != 0;
}

bool saveTextOrCsv(HWND owner, const char* caption,
                   const std::function<std::string(bool csv)>& bytes) {
    static const char kFilter[] =
        "Pliki tekstowe (*.txt)\0*.txt\0CSV dla Excela (*.csv)\0*.csv\0Wszystkie pliki "
        "(*.*)\0*.*\0";
    std::string path;
    if (!chooseFile(owner, {true, {kFilter, sizeof kFilter}, 0, nullptr, "txt", false}, path))
        return false;
    const bool csv = path.size() > 4 && lstrcmpiA(path.c_str() + path.size() - 4, ".csv") == 0;
    if (replaceFile(path, bytes(csv))) return true;
    const std::string why =
        "Nie udało się zapisać pliku '" + shownPath(path) + "': " + lastErrorText();
    messageBox(owner, why.c_str(), caption, MB_ICONERROR);
    return false;
}
