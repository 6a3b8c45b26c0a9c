#include <windows.h>

#include "app/window.hpp"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    if (!createMainWindow(instance)) return 0;
    return runMessageLoop();
}
