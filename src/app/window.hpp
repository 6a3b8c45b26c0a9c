// The main window: its class, creation, menu, window procedure and message loop.
#pragma once

#include <windows.h>

// The client area in design units (app/window_state.hpp), the menu bar
// included.
constexpr int kClientWidth = 1350;
constexpr int kClientHeight = 750;

LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Where the main window of the given outer size opens: centred on the screen,
// moved into the work area where it would stand outside it, and shrunk to the
// work area where it is larger, so that its title bar and menu can be reached.
RECT placeMainWindow(SIZE screen, RECT workArea, SIZE window);

// Pixels per design unit for a screen of `dpi` dots per inch whose window
// frame (borders and title bar) takes `frame` pixels: dpi / 96, lowered to the
// largest scale at which the framed client area fits the work area. Exactly 1
// at 96 DPI when the window fits at its full size.
double layoutScale(int dpi, SIZE frame, RECT workArea);

// Registers the window class, opens the centred main window with its state
// (app/window_state.hpp), every control and the menu bar, all scaled by
// layoutScale for the screen's DPI and work area. On failure shows the
// start-up error box and returns nullptr.
HWND createMainWindow(HINSTANCE instance);

// Runs the message loop until the quit message; returns its exit code.
int runMessageLoop();
// What the window takes from a message before it is translated and
// dispatched (the ranking screen's keys); true when it took it.
bool preTranslate(const MSG& msg);

// Handles a WM_COMMAND by control or menu id; ids with no command do nothing.
// The cursor is the hourglass while it runs, and input given meanwhile is
// dropped.
void onCommand(HWND main, int id);
