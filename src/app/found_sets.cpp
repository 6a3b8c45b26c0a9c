#include "app/found_sets.hpp"

#include <algorithm>
#include <string>

#include "app/files.hpp"
#include "app/large_answer.hpp"
#include "app/panels.hpp"
#include "app/results_box.hpp"
#include "commands/games.hpp"
#include "history/file_name.hpp"

const char kSaveFailed[] = "Save file failed.";

namespace {

const char kFilter[] = "Text Files (*.txt)\0*.txt\0All Files (*.*)\0*.*\0";
const char kLoadFailed[] = "Load of file failed.";

// The largest file the results box is asked to take: its text length is an int.
const LONGLONG kMaxLoadSize = 0x7FFFFFFE;

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

bool handleFoundSetsCommand(HWND main, int id) {
    for (const GamePanel& panel : kPanels) {
        if (id == panel.save || id == panel.open) {
            DoFileOpenSave(main, id == panel.save);
            return true;
        }
    }
    return false;
}

bool chooseFoundSetsFile(HWND main, bool save, std::string& path) {
    return chooseFile(main, {save, {kFilter, sizeof kFilter}, 0, nullptr, "txt", true}, path);
}

namespace {

// A file too large for the results box is refused, and one that would keep
// it busy for seconds is loaded only when the user says so. True when the
// file is to be loaded (or cannot be measured: LoadFile then says why).
bool mayOpen(HWND main, const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(zestawy::widePath(path).c_str(), GetFileExInfoStandard, &data))
        return true;
    const std::uint64_t size = (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
    const std::string bytes = zestawy::textSize(size);
    if (size > zestawy::kResultsBoxLimit) {
        const std::string text = "Plik ma " + bytes + ", a pole wyników mieści najwyżej " +
                                 zestawy::textSize(zestawy::kResultsBoxLimit) +
                                 ". Nic nie wczytano.";
        messageBox(main, text.c_str(), kOpenCaption, MB_ICONEXCLAMATION);
        return false;
    }
    if (size <= zestawy::kAskAbove) return true;
    const std::string text = "Plik ma " + bytes + ". Pole wyników przyjmuje ok. 0,8 MB na " +
                             "sekundę, więc wczytanie potrwa ok. " +
                             std::to_string(size / 800'000 + 1) + " s. Wczytać go?";
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    const bool yes =
        messageBox(main, text.c_str(), kOpenCaption, MB_YESNO | MB_ICONQUESTION) == IDYES;
    SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    return yes;
}

}  // namespace

const char kOpenCaption[] = "Otwórz znalezione";

int DoFileOpenSave(HWND main, int save) {
    std::string path;
    if (!chooseFoundSetsFile(main, save != 0, path)) return 1;
    if (!save && !mayOpen(main, path)) return 1;
    const HWND results = GetDlgItem(main, zestawy::kIdResultsBox);
    if (save ? SaveFile(results, path) : LoadFile(results, path)) return 1;
    messageBox(main, save ? kSaveFailed : kLoadFailed, "Error", MB_ICONEXCLAMATION);
    return 0;
}

int SaveFile(HWND edit, const std::string& path) {
    // An empty box is refused before the file is touched: a found-sets file
    // never loses its contents to nothing.
    const int length = GetWindowTextLengthW(edit);
    if (length <= 0) return 0;
    auto* text = static_cast<wchar_t*>(
        GlobalAlloc(GPTR, (static_cast<SIZE_T>(length) + 1) * sizeof(wchar_t)));
    if (!text) return 0;
    const int copied = GetWindowTextW(edit, text, length + 1);
    // The file holds the box's text as the program's Windows-1250 bytes.
    const std::string bytes = narrow({text, static_cast<std::size_t>(std::max(copied, 0))});
    zestawy::ReplacingFile file;
    const int result =
        copied > 0 && file.open(path) && file.write(bytes.data(), bytes.size()) && file.commit();
    GlobalFree(text);
    return result;
}

int LoadFile(HWND edit, const std::string& path) {
    HANDLE file = CreateFileW(zestawy::widePath(path).c_str(), GENERIC_READ, FILE_SHARE_READ,
                              nullptr, OPEN_EXISTING, 0, nullptr);
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
        // The box shows the bytes up to the first zero byte, as they are; a
        // long text goes in piece by piece, with the window repainted between.
        if (readAll(file, text, count)) {
            text[count] = '\0';
            if (count <= zestawy::kAskAbove) {
                result = setWindowText(edit, text) ? 1 : 0;
            } else {
                setWindowText(edit, "");
                appendToResultsBox(edit, text);
                result = 1;
            }
        }
        GlobalFree(text);
    }
    CloseHandle(file);
    return result;
}
