#include "app/found_sets.hpp"

#include <commdlg.h>

#include <string>

#include "app/controls.hpp"

namespace {

const char kFilter[] = "Text Files (*.txt)\0*.txt\0All Files (*.*)\0*.*\0";
const char kSaveFailed[] = "Save file failed.";
const char kLoadFailed[] = "Load of file failed.";

// The largest file the results box is asked to take: its text length is an int.
const LONGLONG kMaxLoadSize = 0x7FFFFFFE;

// The folder part of a full path, with its trailing backslash; "." for a bare name.
std::string folderOf(const char* path) {
    const std::string p = path;
    const std::size_t slash = p.find_last_of("\\/");
    return slash == std::string::npos ? "." : p.substr(0, slash + 1);
}

bool writeAll(HANDLE file, const char* bytes, DWORD count) {
    while (count > 0) {
        DWORD written = 0;
        if (!WriteFile(file, bytes, count, &written, nullptr) || written == 0) return false;
        bytes += written;
        count -= written;
    }
    return true;
}

bool readAll(HANDLE file, char* bytes, DWORD count) {
    while (count > 0) {
        DWORD read = 0;
        if (!ReadFile(file, bytes, count, &read, nullptr) || read == 0) return false;
        bytes += read;
        count -= read;
    }
    return true;
}

// Writes the bytes to a new file beside the target and only then puts it in the
// target's place, so that a failure at any point leaves the old file as it was.
bool replaceFile(const char* path, const char* bytes, DWORD count) {
    // Windows refuses to move over a read-only file but Wine replaces it; asked
    // here, such a file is left alone on both.
    const DWORD attributes = GetFileAttributesA(path);
    if (attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
        return false;
    char temp[MAX_PATH];
    if (!GetTempFileNameA(folderOf(path).c_str(), "zst", 0, temp)) return false;
    HANDLE file =
        CreateFileA(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    bool ok = file != INVALID_HANDLE_VALUE;
    if (ok) {
        ok = writeAll(file, bytes, count) && FlushFileBuffers(file);
        ok = CloseHandle(file) && ok;
    }
    ok = ok && MoveFileExA(temp, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!ok) DeleteFileA(temp);
    return ok;
}

}  // namespace

bool handleFoundSetsCommand(HWND main, int id) {
    switch (id) {
    case 43:
    case 45:
    case 47: DoFileOpenSave(main, 1); return true;
    case 44:
    case 46:
    case 48: DoFileOpenSave(main, 0); return true;
    default: return false;
    }
}

int DoFileOpenSave(HWND main, int save) {
    char path[MAX_PATH] = "";
    OPENFILENAMEA ofn = {};
    // The structure without the fields added in Windows 2000, as sized in a
    // 64-bit build (76 bytes in a 32-bit one).
    ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    ofn.hwndOwner = main;
    ofn.lpstrFilter = kFilter;
    ofn.nFilterIndex = 0;
    ofn.lpstrFile = path;
    ofn.nMaxFile = MAX_PATH;
    ofn.lpstrDefExt = "txt";
    // OFN_NOCHANGEDIR: the dialogs must not move the working folder, where
    // "Wczytaj" looks for the history files by name.
    if (save) {
        ofn.Flags = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT |
                    OFN_NOCHANGEDIR;
        if (!GetSaveFileNameA(&ofn)) return 1;
    } else {
        ofn.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
        if (!GetOpenFileNameA(&ofn)) return 1;
    }
    const HWND results = GetDlgItem(main, kIdResultsBox);
    if (save ? SaveFile(results, path) : LoadFile(results, path)) return 1;
    MessageBoxA(main, save ? kSaveFailed : kLoadFailed, "Error", MB_ICONEXCLAMATION);
    return 0;
}

int SaveFile(HWND edit, const char* path) {
    // An empty box is refused before the file is touched: a found-sets file
    // never loses its contents to nothing.
    const int length = GetWindowTextLengthA(edit);
    if (length <= 0) return 0;
    char* text = static_cast<char*>(GlobalAlloc(GPTR, static_cast<SIZE_T>(length) + 1));
    if (!text) return 0;
    const int copied = GetWindowTextA(edit, text, length + 1);
    const int result = copied > 0 && replaceFile(path, text, static_cast<DWORD>(copied));
    GlobalFree(text);
    return result;
}

int LoadFile(HWND edit, const char* path) {
    HANDLE file =
        CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 0;
    // The whole size, not its low 32 bits: a larger file is refused, never cut.
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file, &size) || size.QuadPart > kMaxLoadSize) {
        CloseHandle(file);
        return 0;
    }
    const DWORD count = static_cast<DWORD>(size.QuadPart);
    char* text = static_cast<char*>(GlobalAlloc(GPTR, static_cast<SIZE_T>(count) + 1));
    int result = 0;
    if (text) {
        // The box shows the bytes up to the first zero byte, as they are.
        if (readAll(file, text, count)) {
            text[count] = '\0';
            result = SetWindowTextA(edit, text) ? 1 : 0;
        }
        GlobalFree(text);
    }
    CloseHandle(file);
    return result;
}
