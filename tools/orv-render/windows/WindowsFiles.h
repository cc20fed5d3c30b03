// Helpers of orv-render's Windows files: UTF-8 paths to the wide paths of the Windows API, and
// replacing a file by a finished temporary one.
#pragma once

#include <string>

namespace orv {

std::wstring widePath(const std::string& utf8);

// A name for a temporary file in the folder of path.
std::string temporaryBeside(const std::string& path);

// Moves temp over path (replacing it); false with the system's reason in error.
bool replaceFile(const std::string& temp, const std::string& path, std::string& error);

}  // namespace orv
