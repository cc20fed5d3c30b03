// Files named by UTF-8 paths (the paths the file dialogs answer), on every OS: Windows opens
// them through its UTF-16 API, where the C library's narrow calls would read them in the
// ANSI code page.
#pragma once

#include <cstdio>
#include <string>

namespace orv {

// std::fopen by a UTF-8 path.
std::FILE* openFile(const std::string& path, const char* mode);
// The process's working folder as a UTF-8 path, or empty.
std::string currentFolder();

}  // namespace orv
