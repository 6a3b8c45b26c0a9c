// Asks the running program to close, as the close box would: posts WM_CLOSE to
// every top-level window of the program's class. Used by the scripts that run
// the program without a person in front of it. Exit code 0 when one was found.
#include <windows.h>

static BOOL CALLBACK closeIfOurs(HWND hwnd, LPARAM found) {
    char name[64];
    if (GetClassNameA(hwnd, name, sizeof name) && lstrcmpA(name, "WindowClass") == 0) {
        PostMessageA(hwnd, WM_CLOSE, 0, 0);
        *reinterpret_cast<int*>(found) = 1;
    }
    return TRUE;
}

int main() {
    int found = 0;
    EnumWindows(closeIfOurs, reinterpret_cast<LPARAM>(&found));
    return found ? 0 : 1;
}
