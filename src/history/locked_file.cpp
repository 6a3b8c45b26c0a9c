#include "history/locked_file.hpp"

#include <chrono>
#include <thread>

#include "history/replacing_file.hpp"

#ifdef _WIN32
#include <windows.h>

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

// One mutex per file, named after the file itself (its volume and index,
// which every name of it shares), is the lock of its updates: the system
// lets it go when the process ends, however it ends.
std::wstring mutexName(const BY_HANDLE_FILE_INFORMATION& info) {
    return L"Local\\zestawy-update-" + std::to_wstring(info.dwVolumeSerialNumber) + L"-" +
           std::to_wstring((std::uint64_t(info.nFileIndexHigh) << 32) | info.nFileIndexLow);
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
                        int waitMs, const std::function<bool()>& keepGoing) {
    bytes.clear();
    target_ = path;
    const DWORD attributes = GetFileAttributesW(widePath(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? Status::Missing
                                                                              : Status::CannotOpen;
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return Status::NotRegular;
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(waitMs);
    // Waits a moment; false once the time is up or keepGoing says no.
    Status why = Status::Busy;
    auto waitMore = [&] {
        if (keepGoing && !keepGoing()) why = Status::Stopped;
        if (why == Status::Stopped || GetTickCount64() >= deadline) return false;
        Sleep(50);
        return true;
    };
    for (;;) {
        // The file's identity names its lock; the file is not held open while
        // the lock is awaited (an update that holds it could not replace it).
        HANDLE file = openForReading(path);
        if (file == INVALID_HANDLE_VALUE) return Status::CannotOpen;
        const bool disk = GetFileType(file) == FILE_TYPE_DISK;
        if (disk && (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) target_ = finalPath(file, path);
        BY_HANDLE_FILE_INFORMATION info;
        const bool known = disk && GetFileInformationByHandle(file, &info);
        CloseHandle(file);
        if (!disk) return Status::NotRegular;
        if (!known) return Status::CannotOpen;
        if (info.nNumberOfLinks > 1) return Status::Linked;
        const HANDLE mutex = CreateMutexW(nullptr, FALSE, mutexName(info).c_str());
        if (!mutex) return Status::CannotOpen;
        DWORD waited;
        while ((waited = WaitForSingleObject(mutex, 0)) == WAIT_TIMEOUT && waitMore()) {
        }
        if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) {
            CloseHandle(mutex);
            return why;
        }
        lock_ = reinterpret_cast<std::intptr_t>(mutex);
        // Read, but not written, by others until the update is done; an
        // update that held the lock while this one waited may have replaced
        // the file: the lock is then the old file's, and the new one is taken.
        file = CreateFileW(widePath(target_).c_str(), GENERIC_READ,
                           FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) file_ = reinterpret_cast<std::intptr_t>(file);
        BY_HANDLE_FILE_INFORMATION now;
        if (file != INVALID_HANDLE_VALUE && GetFileInformationByHandle(file, &now) &&
            now.dwVolumeSerialNumber == info.dwVolumeSerialNumber &&
            now.nFileIndexHigh == info.nFileIndexHigh && now.nFileIndexLow == info.nFileIndexLow)
            break;
        // Another program writing to it (a sharing violation) waits too.
        const bool writing =
            file == INVALID_HANDLE_VALUE && GetLastError() == ERROR_SHARING_VIOLATION;
        release();
        if (file == INVALID_HANDLE_VALUE && !(writing && waitMore()))
            return writing ? why : Status::CannotOpen;
    }
    const HANDLE file = reinterpret_cast<HANDLE>(file_);
    // Room for the whole file at once: a string that doubles as it grows
    // would hold half as much again at its peak.
    LARGE_INTEGER size;
    if (GetFileSizeEx(file, &size) && static_cast<std::uint64_t>(size.QuadPart) <= maxBytes)
        bytes.reserve(static_cast<std::size_t>(size.QuadPart));
    const Status status = readAll(bytes, maxBytes, [&](char* buffer, std::size_t size) {
        DWORD read = 0;
        return ReadFile(file, buffer, static_cast<DWORD>(size), &read, nullptr) ? (long long)read
                                                                                : -1LL;
    });
    if (status == Status::Ok && !identifyFile(target_, read_)) return Status::ReadError;
    return status;
}

void LockedFile::closeFile() {
    if (file_ != -1) CloseHandle(reinterpret_cast<HANDLE>(file_));
    file_ = -1;
}

void LockedFile::release() {
    closeFile();
    if (lock_ != -1) {
        const HANDLE mutex = reinterpret_cast<HANDLE>(lock_);
        ReleaseMutex(mutex);
        CloseHandle(mutex);
    }
    lock_ = -1;
}

LockedFile::~LockedFile() {
    release();
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
                        int waitMs, const std::function<bool()>& keepGoing) {
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
        if (opened.st_nlink > 1 || (geteuid() != 0 && opened.st_uid != geteuid())) {
            close(fd);
            return opened.st_nlink > 1 ? Status::Linked : Status::Foreign;
        }
        bool held, stopped = false;
        while (!(held = flock(fd, LOCK_EX | LOCK_NB) == 0) &&
               (errno == EWOULDBLOCK || errno == EINTR) && !(stopped = keepGoing && !keepGoing()) &&
               std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        if (!held) {
            close(fd);
            return stopped ? Status::Stopped : Status::Busy;
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
    // Room for the whole file at once: a string that doubles as it grows
    // would hold half as much again at its peak.
    struct stat before;
    if (fstat(fd, &before) == 0 && static_cast<std::uint64_t>(before.st_size) <= maxBytes)
        bytes.reserve(static_cast<std::size_t>(before.st_size));
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

void LockedFile::closeFile() {}

void LockedFile::release() {
    if (lock_ != -1) close(static_cast<int>(lock_));
    lock_ = -1;
}

LockedFile::~LockedFile() {
    release();
}

#endif

bool LockedFile::unchanged() const {
    FileIdentity now;
    return identifyFile(target_, now) && now == read_;
}

}  // namespace zestawy
