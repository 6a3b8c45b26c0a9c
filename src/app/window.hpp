// The main window: its class, creation, menu, window procedure and message loop.
#pragma once

#include <windows.h>

constexpr int kClientWidth = 1350;
constexpr int kClientHeight = 750;

LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Where the main window of the given outer size opens: centred on the screen,
// moved into the work area where it would stand outside it, and shrunk to the
// work area where it is larger, so that its title bar and menu can be reached.
RECT placeMainWindow(SIZE screen, RECT workArea, SIZE window);

// Registers the window class, opens the centred main window with its state
// (app/window_state.hpp), every control and the menu bar. On failure shows the start-up error box
// and returns nullptr.
HWND createMainWindow(HINSTANCE instance);

// Runs the message loop until the quit message; returns its exit code.
int runMessageLoop();

// Handles a WM_COMMAND by control or menu id; ids with no command do nothing.
// The cursor is the hourglass while it runs, and input given meanwhile is
// dropped.
void onCommand(HWND main, int id);

// Lets a long command repaint the window: handles waiting paint messages only.
void repaintWhileBusy();
