// Helpers of orv-render's Windows files: replacing a file by a finished temporary one, and the
// wide paths of the Windows API (from the host library).
#pragma once

#include <string>

#include "hostlib/windows/WidePath.h"

namespace orv {

// A name for a temporary file in the folder of path.
std::string temporaryBeside(const std::string& path);

// Moves temp over path (replacing it); false with the system's reason in error.
bool replaceFile(const std::string& temp, const std::string& path, std::string& error);

}  // namespace orv
