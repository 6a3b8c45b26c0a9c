#include "history/locked_file.hpp"

#include <chrono>
#include <thread>

#include "history/replacing_file.hpp"

#ifdef _WIN32
#include <windows.h>

#include <cctype>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#endif

#include "history/file_name.hpp"

namespace zestawy {

namespace {

using Status = LockedFile::Status;

// Appends what `readSome` gives, 64 KB at a time, until it gives nothing;
// readSome returns the count read, or a negative number on an error.
template <class ReadSome>
Status readAll(std::string& bytes, std::size_t maxBytes, ReadSome readSome) {
    char buffer[1 << 16];
    for (;;) {
        const long long n = readSome(buffer, sizeof buffer);
        if (n < 0) return Status::ReadError;
        if (n == 0) return Status::Ok;
        if (static_cast<std::size_t>(n) > maxBytes - bytes.size()) {
            bytes.clear();
            return Status::TooLarge;
        }
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
}

}  // namespace

#ifdef _WIN32

namespace {

HANDLE openForReading(const std::string& path) {
    return CreateFileW(widePath(path).c_str(), GENERIC_READ,
                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// The target of a link, as the system names it, without the "\\?\" that it
// puts before a drive letter.
std::string finalPath(HANDLE file, const std::string& path) {
    wchar_t name[MAX_PATH * 4];
    const DWORD length = GetFinalPathNameByHandleW(file, name, MAX_PATH * 4, FILE_NAME_NORMALIZED);
    if (length == 0 || length >= MAX_PATH * 4) return path;
    std::string target = utf8Path(std::wstring(name, length));
    if (target.compare(0, 4, "\\\\?\\") == 0 && target.size() > 5 && target[5] == ':')
        target.erase(0, 4);
    return target;
}

// One mutex per file, named after its full path, is the lock of its updates:
// the system lets it go when the process ends, however it ends.
std::string mutexName(const std::string& path) {
    wchar_t full[MAX_PATH * 4];
    const DWORD length = GetFullPathNameW(widePath(path).c_str(), MAX_PATH * 4, full, nullptr);
    const std::string name =
        length > 0 && length < MAX_PATH * 4 ? utf8Path(std::wstring(full, length)) : path;
    std::uint64_t hash = 1469598103934665603ull;  // FNV-1a of the name, case folded
    for (const char c : name) {
        hash ^= static_cast<unsigned char>(std::tolower(static_cast<unsigned char>(c)));
        hash *= 1099511628211ull;
    }
    return "Local\\zestawy-update-" + std::to_string(hash);
}

}  // namespace

bool identifyFile(const std::string& path, FileIdentity& identity) {
    const HANDLE file = openForReading(path);
    if (file == INVALID_HANDLE_VALUE) return false;
    BY_HANDLE_FILE_INFORMATION info;
    const bool ok = GetFileInformationByHandle(file, &info) != 0;
    CloseHandle(file);
    if (!ok) return false;
    auto wide = [](DWORD high, DWORD low) { return (std::uint64_t(high) << 32) | low; };
    identity = {info.dwVolumeSerialNumber, wide(info.nFileIndexHigh, info.nFileIndexLow),
                wide(info.nFileSizeHigh, info.nFileSizeLow),
                wide(info.ftLastWriteTime.dwHighDateTime, info.ftLastWriteTime.dwLowDateTime)};
    return true;
}

Status LockedFile::open(const std::string& path, std::string& bytes, std::size_t maxBytes,
                        int waitMs) {
    bytes.clear();
    target_ = path;
    const DWORD attributes = GetFileAttributesW(widePath(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? Status::Missing
                                                                              : Status::CannotOpen;
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return Status::NotRegular;
    HANDLE file = openForReading(path);
    if (file == INVALID_HANDLE_VALUE) return Status::CannotOpen;
    const bool regular = GetFileType(file) == FILE_TYPE_DISK;
    if (regular && (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) target_ = finalPath(file, path);
    CloseHandle(file);
    if (!regular) return Status::NotRegular;

    const HANDLE mutex = CreateMutexA(nullptr, FALSE, mutexName(target_).c_str());
    if (!mutex) return Status::CannotOpen;
    const DWORD waited = WaitForSingleObject(mutex, static_cast<DWORD>(waitMs));
    if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) {
        CloseHandle(mutex);
        return Status::Busy;
    }
    lock_ = reinterpret_cast<std::intptr_t>(mutex);

    file = openForReading(target_);
    if (file == INVALID_HANDLE_VALUE) return Status::CannotOpen;
    const Status status = readAll(bytes, maxBytes, [&](char* buffer, std::size_t size) {
        DWORD read = 0;
        return ReadFile(file, buffer, static_cast<DWORD>(size), &read, nullptr) ? (long long)read
                                                                                : -1LL;
    });
    CloseHandle(file);
    if (status == Status::Ok && !identifyFile(target_, read_)) return Status::ReadError;
    return status;
}

LockedFile::~LockedFile() {
    if (lock_ == -1) return;
    const HANDLE mutex = reinterpret_cast<HANDLE>(lock_);
    ReleaseMutex(mutex);
    CloseHandle(mutex);
}

#else

namespace {

FileIdentity identityOf(const struct stat& st) {
    return {std::uint64_t(st.st_dev), std::uint64_t(st.st_ino), std::uint64_t(st.st_size),
            std::uint64_t(st.st_mtim.tv_sec) * 1000000000u + std::uint64_t(st.st_mtim.tv_nsec)};
}

}  // namespace

bool identifyFile(const std::string& path, FileIdentity& identity) {
    struct stat st;
    if (stat(path.c_str(), &st) != 0) return false;
    identity = identityOf(st);
    return true;
}

Status LockedFile::open(const std::string& path, std::string& bytes, std::size_t maxBytes,
                        int waitMs) {
    bytes.clear();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    for (;;) {
        target_ = resolvedPath(path);
        struct stat named;
        if (stat(target_.c_str(), &named) != 0)
            return errno == ENOENT || errno == ENOTDIR ? Status::Missing : Status::CannotOpen;
        // Looked at before opening: opening a pipe for reading waits for a writer.
        if (!S_ISREG(named.st_mode)) return Status::NotRegular;
        const int fd = ::open(target_.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
        if (fd < 0) return Status::CannotOpen;
        struct stat opened;
        if (fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode)) {
            close(fd);
            return Status::NotRegular;
        }
        bool held;
        while (!(held = flock(fd, LOCK_EX | LOCK_NB) == 0) &&
               (errno == EWOULDBLOCK || errno == EINTR) &&
               std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        if (!held) {
            close(fd);
            return Status::Busy;
        }
        // The update that held the file while this one waited has replaced
        // it: the lock is then on the old file, and the new one is taken.
        struct stat now;
        if (stat(target_.c_str(), &now) == 0 && now.st_dev == opened.st_dev &&
            now.st_ino == opened.st_ino) {
            lock_ = fd;
            break;
        }
        close(fd);
    }
    const int fd = static_cast<int>(lock_);
    const Status status = readAll(bytes, maxBytes, [&](char* buffer, std::size_t size) {
        ssize_t n;
        while ((n = ::read(fd, buffer, size)) < 0 && errno == EINTR) {
        }
        return static_cast<long long>(n);
    });
    struct stat read;
    if (status == Status::Ok && fstat(fd, &read) != 0) return Status::ReadError;
    read_ = identityOf(read);
    return status;
}

LockedFile::~LockedFile() {
    if (lock_ != -1) close(static_cast<int>(lock_));
}

#endif

bool LockedFile::unchanged() const {
    FileIdentity now;
    return identifyFile(target_, now) && now == read_;
}

}  // namespace zestawy
