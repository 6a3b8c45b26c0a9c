// Every child control of the main window, as one table walked by one loop.
//
// All controls are created once at start-up at fixed places and live for the
// whole run; the commands only show, hide, enable, disable, fill and empty
// them. The window state keeps the handles of the boxes and labels; buttons
// are found by their ids (commands/games.hpp).
#pragma once

#include <windows.h>

#include "app/window_state.hpp"
#include "commands/games.hpp"

enum class ControlKind { Button, WorkBox, Label, HelpBox, AboutBox };

struct ControlRow {
    HWND WindowState::*handle;  // where the state keeps it; nullptr for buttons
    ControlKind kind;
    // Windows-1250; nullptr for the search buttons, which show their command's
    // caption, and for the help and about boxes
    const char* caption;
    int id;
    int x, y, w, h;  // design units (app/window_state.hpp)
    int readOnly;    // for edit boxes: the EM_SETREADONLY flag; -1 for others
};

// The controls in creation order.
extern const ControlRow kControls[];
extern const int kControlCount;

// The class name, style and extended style of a kind of control.
const char* controlClass(ControlKind kind);
DWORD controlStyle(ControlKind kind);
DWORD controlExStyle(ControlKind kind);

// Creates every control of the table as a child of state.main, in order, its
// place and size scaled by state.scaled: buttons and work boxes are hidden at
// once, labels and the about box stay visible, the help box is hidden; the help
// and about boxes get their fonts and are stretched over the client area, and
// when the scale is not 1 the other controls get a scaled font too; then the
// edit boxes get their read-only flags.
void createControls(WindowState& state, HINSTANCE instance);
