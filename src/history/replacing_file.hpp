// A file written all or nothing: the found-sets saves of the window and the
// update of a history file both go through it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace zestawy {

// The text goes to a new file beside the target, which takes the target's
// place only on commit(). Until then, and after any failure, an existing file
// stays as it was, bytes and time; the new one is removed when the object goes
// without a commit. A read-only target, or anything but a regular file, is
// refused. A symbolic link is followed: its target is replaced and the link
// stays. A replaced file keeps its permissions and its owner (POSIX; a file
// whose owner cannot be kept is refused).
class ReplacingFile {
  public:
    ReplacingFile() = default;
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;
    ~ReplacingFile();

    bool open(const std::string& path);
    // REQUIRES a successful open().
    bool write(const char* bytes, std::size_t count);
    // Puts the new file on the disk, whole; commit() does it when not done.
    bool flush();
    // The new file takes the target's place; with `replace` false only where
    // there is no target (another file that appeared meanwhile stays).
    bool commit(bool replace = true);

  private:
    std::string path_, temp_;
    std::intptr_t file_ = -1;  // a HANDLE on Windows, a descriptor elsewhere; -1 once flushed
};

// The file a path names: a symbolic link's final target, or the path itself
// (always the path on Windows, where the system follows links).
std::string resolvedPath(const std::string& path);

// The whole file replaced by `bytes` through a ReplacingFile.
bool replaceFile(const std::string& path, const std::string& bytes);

// Removes the temporary files that ReplacingFile leaves beside `path` when its
// process is killed outright, those older than an hour (a younger one may be
// another update's, still being written). Returns how many were removed.
int removeStaleTemporaries(const std::string& path);

}  // namespace zestawy
