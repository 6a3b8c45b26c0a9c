// "Zapisz znalezione" and "Otwórz znalezione": the results box to and from a
// text file chosen in the common file dialogs.
#pragma once

#include <windows.h>

#include <string>

#include "history/replacing_file.hpp"

// Handles the save and open buttons of the three panels; returns false for
// any other id.
bool handleFoundSetsCommand(HWND main, int id);

// Shows the save (save = 1) or open dialog and saves or loads the results box.
// A file to open that is larger than the results box may hold is refused, and
// one that would take seconds is opened only when the user says so, both in a
// message box of kOpenCaption. Returns 1 when the dialog was cancelled, the
// user declined or the file operation succeeded, 0 after showing the failure
// message.
int DoFileOpenSave(HWND main, int save);
extern const char kOpenCaption[];

// Replaces the file with the text of the edit, all or nothing; an empty edit,
// a read-only or busy file or any failure leaves an existing file as it was.
// 1 on success, 0 on failure; shows nothing.
// Paths here are UTF-8 (app/files.hpp).
int SaveFile(HWND edit, const std::string& path);
// Replaces the text of the edit with the file's bytes up to the first zero
// byte, a long text in pieces with the window repainted between; a file too
// large for the edit is refused. 1 on success, 0 on failure (the edit
// unchanged); shows nothing.
int LoadFile(HWND edit, const std::string& path);

// The common file dialog for a found-sets file, with the program's filter and
// ".txt" for a bare name. False when the user cancelled it.
bool chooseFoundSetsFile(HWND main, bool save, std::string& path);

// The message for any failed save.
extern const char kSaveFailed[];
