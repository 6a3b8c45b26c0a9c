// Every child control of the main window, as one table walked by one loop.
//
// All controls are created once at start-up at fixed places and live for the
// whole run; the commands only show, hide, enable, disable, fill and empty
// them. The handles are globals named after the control kind and number:
// hPrzyciskN is the button with control id N.
#pragma once

#include <windows.h>

// Buttons: the number is the control id (there are no 17-19, 29 or 40).
extern HWND hPrzycisk1, hPrzycisk2, hPrzycisk3, hPrzycisk4, hPrzycisk5, hPrzycisk6, hPrzycisk7,
    hPrzycisk8, hPrzycisk9, hPrzycisk10, hPrzycisk11, hPrzycisk12, hPrzycisk13, hPrzycisk14,
    hPrzycisk15, hPrzycisk16;
extern HWND hPrzycisk20, hPrzycisk21, hPrzycisk22, hPrzycisk23, hPrzycisk24, hPrzycisk25,
    hPrzycisk26, hPrzycisk27, hPrzycisk28;
extern HWND hPrzycisk30, hPrzycisk31, hPrzycisk32, hPrzycisk33, hPrzycisk34, hPrzycisk35,
    hPrzycisk36, hPrzycisk37, hPrzycisk38, hPrzycisk39;
extern HWND hPrzycisk41, hPrzycisk42, hPrzycisk43, hPrzycisk44, hPrzycisk45, hPrzycisk46,
    hPrzycisk47, hPrzycisk48;

// Edit boxes: numbers (1), results (2), dates (3), count (4), help (5), about (6).
extern HWND hPole1, hPole2, hPole3, hPole4, hPole5, hPole6;
// Labels over the date, numbers, results and count boxes.
extern HWND hEtykieta1, hEtykieta2, hEtykieta3, hEtykieta4;

enum ControlId : int {
    kIdNumbersBox = 51,
    kIdResultsBox = 401,
    kIdDatesBox = 53,
    kIdCountBox = 54,
};

enum class ControlKind { Button, WorkBox, Label, HelpBox, AboutBox };

struct ControlRow {
    HWND* handle;
    ControlKind kind;
    const char* caption;  // Windows-1250; nullptr for the help and about boxes
    int id;
    int x, y, w, h;
    int readOnly;  // for edit boxes: the EM_SETREADONLY flag; -1 for others
};

// The controls in creation order.
extern const ControlRow kControls[];
extern const int kControlCount;

// The class name, style and extended style of a kind of control.
const char* controlClass(ControlKind kind);
DWORD controlStyle(ControlKind kind);
DWORD controlExStyle(ControlKind kind);

// Creates every control of the table as a child of `main`, in order: buttons
// and work boxes are hidden at once, labels and the about box stay visible,
// the help box is hidden; the help and about boxes get their fonts and are
// stretched over the client area; then the edit boxes get their read-only flags.
void createControls(HWND main, HINSTANCE instance);

// The handle of the button or box with this control id, or nullptr.
HWND controlById(int id);
