// A history file as an update holds it while it reads it, plans the new
// contents and replaces it: a regular file, never a device, a pipe or a
// folder; a symbolic link is followed to its target, which is what is read
// and replaced (the link stays as it is); and one update at a time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace zestawy {

// What tells one version of a file from another: the file itself, its size
// and its modification time.
struct FileIdentity {
    std::uint64_t device = 0, file = 0, size = 0, time = 0;
    bool operator==(const FileIdentity& o) const {
        return device == o.device && file == o.file && size == o.size && time == o.time;
    }
    bool operator!=(const FileIdentity& o) const { return !(*this == o); }
};

// The identity of the file at `path` as it is now; false when there is none.
bool identifyFile(const std::string& path, FileIdentity& identity);

class LockedFile {
  public:
    enum class Status {
        Ok,
        Missing,     // no such file
        NotRegular,  // a device, pipe, folder or anything but a file
        Busy,        // another update held it for the whole wait
        CannotOpen,
        TooLarge,  // more than maxBytes
        ReadError,
        Linked,   // a file of more than one name (hard links): a replace would split them
        Foreign,  // POSIX: another user's file, whose owner a replace would change
        Stopped,  // keepGoing said no while waiting
    };

    LockedFile() = default;
    LockedFile(const LockedFile&) = delete;
    LockedFile& operator=(const LockedFile&) = delete;
    ~LockedFile();  // lets the next update in

    // Takes the file at `path` for this update, waiting up to waitMs
    // milliseconds while another update has it (asking keepGoing now and
    // then), and reads it whole into `bytes`. Nothing is opened when the path
    // names no regular file. The lock belongs to the file, whatever name it
    // is reached by. On Windows the file stays open until the object goes, so
    // that no other program can write to it meanwhile.
    Status open(const std::string& path, std::string& bytes, std::size_t maxBytes, int waitMs,
                const std::function<bool()>& keepGoing = {});

    // The file that was read and is to be replaced: the path, or the target
    // of the link it names.
    const std::string& target() const { return target_; }

    // True while the file at target() is still the one that open() read: the
    // same file, size and modification time. An editor that saved it in the
    // meantime makes it false.
    bool unchanged() const;

    // Windows: closes the file, keeping the lock, right before it is replaced.
    void closeFile();

    void release();  // the lock and the file

    std::string target_;
    FileIdentity read_;
    std::intptr_t lock_ = -1;  // a locked descriptor, or a held mutex on Windows
    std::intptr_t file_ = -1;  // Windows: the file, open without sharing its writing
};

}  // namespace zestawy
