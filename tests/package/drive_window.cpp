// Plays a user of the unpacked download, from outside the program:
//   drive_window.exe play          waits for the window of zestawy.exe, opens
//                                  the search screen and the Multi Multi panel,
//                                  types 100 as the count, presses "Wczytaj" and
//                                  "Wyszukaj 2", prints the results box and
//                                  closes the window;
//   drive_window.exe version EXE   prints the version resource of EXE.
// Used by tests/package/zip_test.sh; exit code 0 when it got that far.
#include <windows.h>

#include <cstdio>
#include <string>

#include "app/ids.hpp"
#include "commands/games.hpp"

using namespace zestawy;

namespace {

std::string textOf(HWND hwnd) {
    char text[4096] = "";
    SendMessageA(hwnd, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
}

void press(HWND main, int id) {
    SendMessageA(main, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
}

std::string versionString(const void* info, const char* name) {
    char* value = nullptr;
    UINT length = 0;
    const std::string path = std::string("\\StringFileInfo\\041504E2\\") + name;
    if (!VerQueryValueA(info, path.c_str(), reinterpret_cast<void**>(&value), &length)) return "?";
    return std::string(value, length > 0 ? length - 1 : 0);
}

}  // namespace

int play() {
    HWND main = nullptr;
    for (int i = 0; i < 600 && !(main = FindWindowA("WindowClass", nullptr)); ++i) Sleep(100);
    if (!main) {
        std::puts("no window");
        return 1;
    }
    press(main, kCmdPrepareSearch);
    press(main, kMultiGame);
    SendMessageA(GetDlgItem(main, kIdCountBox), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("100"));
    press(main, kMultiLoad);
    press(main, kMulti2);
    std::printf("results: %s\n", textOf(GetDlgItem(main, kIdResultsBox)).c_str());
    PostMessageA(main, WM_CLOSE, 0, 0);
    return 0;
}

int printVersion(const char* exe) {
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(exe, &handle);
    std::string info(size, '\0');
    if (size == 0 || !GetFileVersionInfoA(exe, 0, size, &info[0])) {
        std::puts("no version resource");
        return 1;
    }
    for (const char* name : {"FileVersion", "ProductVersion", "ProductName", "FileDescription"})
        std::printf("%s: %s\n", name, versionString(info.data(), name).c_str());
    return 0;
}

int main(int argc, char** argv) {
    if (argc == 2 && std::string(argv[1]) == "play") return play();
    if (argc == 3 && std::string(argv[1]) == "version") return printVersion(argv[2]);
    return 2;
}
