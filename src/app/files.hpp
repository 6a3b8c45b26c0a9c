// Files as the window finds, chooses and names them. Paths are UTF-8, as the
// program keeps them (files are opened by their UTF-16 names); the window's
// texts show them in Windows-1250.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

#include "commands/games.hpp"

// A file of that name (UTF-8) in the working folder, or else in the folder of
// zestawy.exe. Empty when neither has it.
std::string findFile(const std::string& name);

// A game's history file, found so.
std::string findHistory(const zestawy::GameRow& game);

// What to tell the user when neither folder has the game's history: that the
// file could not be opened, the full paths that were tried and where to put it.
std::string historyMissing(const zestawy::GameRow& game);

// The system's reason for the last failure (GetLastError), as the window's
// texts show it.
std::string lastErrorText();

// A path as the window's texts show it.
std::string shownPath(const std::string& path);

// A common file dialog.
struct FileDialog {
    bool save;
    // Windows-1250: pairs of a description and its patterns, each ending in
    // a zero byte, and one more zero byte at the end.
    std::string_view filter;
    int filterIndex;
    const char* title;             // nullptr: the system's own
    const char* defaultExtension;  // for a bare name; nullptr: none
    bool classicSize;              // the structure without the Windows 2000 fields
};

// Shows the dialog; the chosen path in `path`. False when the user cancelled.
// The working folder stays where it was: the histories are looked for there.
bool chooseFile(HWND owner, const FileDialog& dialog, std::string& path);

// "Zapisz ...": the dialog for a text file or a spreadsheet, then the bytes of
// the one chosen by its name's extension (".csv" in any case: the
// spreadsheet) written in place of any file there. A failure is said in a
// message box with that caption. False when cancelled or failed.
bool saveTextOrCsv(HWND owner, const char* caption,
                   const std::function<std::string(bool csv)>& bytes);
