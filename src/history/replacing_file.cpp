#include "history/replacing_file.hpp"

#ifdef _WIN32
#include <windows.h>
#else
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>
#endif

#include "history/file_name.hpp"

namespace zestawy {

namespace {

// The folder part of a path, with its trailing separator; "" for a bare name.
std::string folderWithSlash(const std::string& path) {
    const std::size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? "" : path.substr(0, slash + 1);
}

}  // namespace

#ifdef _WIN32

namespace {

HANDLE handleOf(std::intptr_t file) {
    return reinterpret_cast<HANDLE>(file);
}

}  // namespace

// Windows refuses to move over a read-only file but Wine replaces it; asked
// here, such a file is left alone on both.
bool ReplacingFile::open(const std::string& path) {
    path_ = path;
    const DWORD attributes = GetFileAttributesW(widePath(path).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
        return false;
    wchar_t temp[MAX_PATH];
    const std::string folder = folderWithSlash(path);
    if (!GetTempFileNameW(widePath(folder.empty() ? "." : folder).c_str(), L"zst", 0, temp))
        return false;
    temp_ = utf8Path(temp);
    const HANDLE file =
        CreateFileW(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    file_ = reinterpret_cast<std::intptr_t>(file);
    return true;
}

bool ReplacingFile::write(const char* bytes, std::size_t count) {
    while (count > 0) {
        const DWORD piece = count > (1u << 30) ? (1u << 30) : static_cast<DWORD>(count);
        DWORD written = 0;
        if (!WriteFile(handleOf(file_), bytes, piece, &written, nullptr) || written == 0)
            return false;
        bytes += written;
        count -= written;
    }
    return true;
}

bool ReplacingFile::flush() {
    if (file_ == -1) return !temp_.empty();
    bool ok = FlushFileBuffers(handleOf(file_)) != 0;
    ok = CloseHandle(handleOf(file_)) && ok;
    file_ = -1;
    if (!ok) DeleteFileW(widePath(temp_).c_str()), temp_.clear();
    return ok;
}

bool ReplacingFile::commit(bool replace) {
    const bool ok =
        flush() && MoveFileExW(widePath(temp_).c_str(), widePath(path_).c_str(),
                               (replace ? MOVEFILE_REPLACE_EXISTING : 0) | MOVEFILE_WRITE_THROUGH);
    if (ok) temp_.clear();
    return ok;
}

ReplacingFile::~ReplacingFile() {
    if (file_ != -1) CloseHandle(handleOf(file_));
    if (!temp_.empty()) DeleteFileW(widePath(temp_).c_str());
}

int removeStaleTemporaries(const std::string& path) {
    const std::string folder = folderWithSlash(path);
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW(widePath(folder + "zst*.tmp").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return 0;
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    auto ticks = [](const FILETIME& t) {
        return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    };
    const unsigned long long hour = 3600ull * 10000000;  // in 100 ns ticks
    int removed = 0;
    // GetTempFileName's names: "zst", up to four hexadecimal digits, ".tmp".
    auto ours = [](const std::wstring& name) {
        const std::size_t digits = name.size() - 7;
        return name.size() >= 8 && name.size() <= 11 &&
               name.find_first_not_of(L"0123456789ABCDEFabcdef", 3) == 3 + digits &&
               lstrcmpiW(name.substr(3 + digits).c_str(), L".tmp") == 0;
    };
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && ours(found.cFileName) &&
            ticks(now) > ticks(found.ftLastWriteTime) + hour &&
            DeleteFileW((widePath(folder) + found.cFileName).c_str()))
            ++removed;
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return removed;
}

#else

namespace {

constexpr char kTemporary[] = ".zestawy-";  // and six random characters

}  // namespace

bool ReplacingFile::open(const std::string& path) {
    path_ = resolvedPath(path);
    struct stat target;
    const bool exists = stat(path_.c_str(), &target) == 0;
    if (exists && (!S_ISREG(target.st_mode) || access(path_.c_str(), W_OK) != 0)) return false;
    std::string pattern = folderWithSlash(path_) + kTemporary + "XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = mkstemp(name.data());
    if (fd < 0) return false;
    temp_ = name.data();
    file_ = fd;
    // The owner first: changing it may clear the set-id bits that fchmod sets.
    if (exists && fchown(fd, target.st_uid, target.st_gid) != 0 &&
        fchown(fd, target.st_uid, static_cast<gid_t>(-1)) != 0)
        return false;
    return fchmod(fd, exists ? target.st_mode & 07777 : 0644) == 0;
}

bool ReplacingFile::write(const char* bytes, std::size_t count) {
    while (count > 0) {
        const ssize_t written = ::write(static_cast<int>(file_), bytes, count);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        bytes += written;
        count -= static_cast<std::size_t>(written);
    }
    return true;
}

bool ReplacingFile::flush() {
    if (file_ == -1) return !temp_.empty();
    bool ok = fsync(static_cast<int>(file_)) == 0;
    ok = close(static_cast<int>(file_)) == 0 && ok;
    file_ = -1;
    if (!ok) unlink(temp_.c_str()), temp_.clear();
    return ok;
}

bool ReplacingFile::commit(bool replace) {
    if (!flush()) return false;
    // Without replacing: a second name made only where there is none, then
    // the temporary one goes.
    const bool ok = replace ? std::rename(temp_.c_str(), path_.c_str()) == 0
                            : link(temp_.c_str(), path_.c_str()) == 0;
    if (ok && !replace) unlink(temp_.c_str());
    if (ok) temp_.clear();
    return ok;
}

ReplacingFile::~ReplacingFile() {
    if (file_ != -1) close(static_cast<int>(file_));
    if (!temp_.empty()) unlink(temp_.c_str());
}

int removeStaleTemporaries(const std::string& path) {
    const std::string folder = folderWithSlash(resolvedPath(path));
    DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
    if (!dir) return 0;
    int removed = 0;
    const std::string prefix = kTemporary;
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name.size() != prefix.size() + 6 || name.compare(0, prefix.size(), prefix) != 0)
            continue;
        const std::string file = folder + name;
        struct stat st;
        if (lstat(file.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
            std::time(nullptr) - st.st_mtime > 3600 && unlink(file.c_str()) == 0)
            ++removed;
    }
    closedir(dir);
    return removed;
}

#endif

std::string resolvedPath(const std::string& path) {
#ifdef _WIN32
    return path;
#else
    struct stat link;
    if (lstat(path.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) return path;
    char* real = realpath(path.c_str(), nullptr);
    if (!real) return path;
    const std::string target = real;
    std::free(real);
    return target;
#endif
}

bool replaceFile(const std::string& path, const std::string& bytes) {
    ReplacingFile file;
    return file.open(path) && file.write(bytes.data(), bytes.size()) && file.commit();
}

}  // namespace zestawy
