// File names. The program keeps every path in UTF-8, as Linux has them; on
// Windows a file is opened by its UTF-16 name, so that a Polish name is found
// whatever the system's ANSI code page.
#pragma once

#include <cstdio>
#include <string>

namespace zestawy {

// std::fopen of a UTF-8 path.
std::FILE* openFile(const std::string& path, const char* mode);

// Whether a file (not a folder) of that path exists.
bool fileExists(const std::string& path);

// The folder part of a path, without a trailing separator; empty for a bare
// name.
std::string folderOf(const std::string& path);

// The folder of the running executable, where its sample histories lie;
// empty when the system cannot tell.
std::string programFolder();

#ifdef _WIN32
// The UTF-16 name of a UTF-8 path, and back.
std::wstring widePath(const std::string& path);
std::string utf8Path(const std::wstring& path);
#endif

}  // namespace zestawy
