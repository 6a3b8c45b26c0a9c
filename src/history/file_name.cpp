#include "history/file_name.hpp"

#include <sys/stat.h>

#include "history/encoding.hpp"

namespace zestawy {

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

#else

std::FILE* openFile(const std::string& path, const char* mode) {
    return std::fopen(path.c_str(), mode);
}

bool fileExists(const std::string& path) {
    struct stat status;
    return stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

#endif

}  // namespace zestawy
