#include "history/file_name.hpp"

#include <sys/stat.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>

#include <climits>
#endif

#include "history/encoding.hpp"

namespace zestawy {

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? "" : path.substr(0, slash);
}

#ifdef _WIN32

std::wstring widePath(const std::string& path) {
    const std::u16string wide = utf16FromUtf8(path);
    return std::wstring(wide.begin(), wide.end());
}

std::string utf8Path(const std::wstring& path) {
    return utf8FromUtf16(std::u16string(path.begin(), path.end()));
}

std::FILE* openFile(const std::string& path, const char* mode) {
    return _wfopen(widePath(path).c_str(), widePath(mode).c_str());
}

bool fileExists(const std::string& path) {
    struct _stat64 status;
    return _wstat64(widePath(path).c_str(), &status) == 0 && (status.st_mode & _S_IFREG);
}

std::string programFolder() {
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    return length > 0 && length < MAX_PATH ? folderOf(utf8Path({path, length})) : "";
}

#else

std::FILE* openFile(const std::string& path, const char* mode) {
    return std::fopen(path.c_str(), mode);
}

bool fileExists(const std::string& path) {
    struct stat status;
    return stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

std::string programFolder() {
    char path[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path);
    return length > 0 && static_cast<std::size_t>(length) < sizeof path
               ? folderOf(std::string(path, static_cast<std::size_t>(length)))
               : "";
}

#endif

}  // namespace zestawy
