#include "app/found_sets.hpp"

#include <commdlg.h>

#include <string>

#include "commands/games.hpp"

const char kSaveFailed[] = "Save file failed.";

namespace {

const char kFilter[] = "Text Files (*.txt)\0*.txt\0All Files (*.*)\0*.*\0";
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

}  // namespace

// Windows refuses to move over a read-only file but Wine replaces it; asked
// here, such a file is left alone on both.
bool ReplacingFile::open(const char* path) {
    path_ = path;
    const DWORD attributes = GetFileAttributesA(path);
    if (attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
        return false;
    if (!GetTempFileNameA(folderOf(path).c_str(), "zst", 0, temp_)) return false;
    file_ = CreateFileA(temp_, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                        nullptr);
    if (file_ == INVALID_HANDLE_VALUE) {
        DeleteFileA(temp_);
        temp_[0] = '\0';
        return false;
    }
    return true;
}

bool ReplacingFile::write(const char* bytes, std::size_t count) {
    while (count > 0) {
        const DWORD piece = count > (1u << 30) ? (1u << 30) : static_cast<DWORD>(count);
        if (!writeAll(file_, bytes, piece)) return false;
        bytes += piece;
        count -= piece;
    }
    return true;
}

bool ReplacingFile::commit() {
    bool ok = FlushFileBuffers(file_) != 0;
    ok = CloseHandle(file_) && ok;
    file_ = INVALID_HANDLE_VALUE;
    ok =
        ok && MoveFileExA(temp_, path_.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (ok) temp_[0] = '\0';
    return ok;
}

ReplacingFile::~ReplacingFile() {
    if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
    if (temp_[0]) DeleteFileA(temp_);
}

bool handleFoundSetsCommand(HWND main, int id) {
    for (const zestawy::GameRow& game : zestawy::kGames) {
        if (id == game.save || id == game.open) {
            DoFileOpenSave(main, id == game.save);
            return true;
        }
    }
    return false;
}

bool chooseFoundSetsFile(HWND main, bool save, char (&path)[MAX_PATH]) {
    path[0] = '\0';
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
        return GetSaveFileNameA(&ofn) != 0;
    }
    ofn.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    return GetOpenFileNameA(&ofn) != 0;
}

int DoFileOpenSave(HWND main, int save) {
    char path[MAX_PATH];
    if (!chooseFoundSetsFile(main, save != 0, path)) return 1;
    const HWND results = GetDlgItem(main, zestawy::kIdResultsBox);
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
    ReplacingFile file;
    const int result = copied > 0 && file.open(path) &&
                       file.write(text, static_cast<std::size_t>(copied)) && file.commit();
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
