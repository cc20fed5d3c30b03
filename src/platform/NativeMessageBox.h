// The system's own modal message box, where the system offers one to a plug-in.
#pragma once

#include <string>

namespace orv {

// Shows a message box with an OK button owned by ownerWindow (the host's window handle, may be
// null) and returns when the user closes it: true. Answers false at once where there is no
// native message box (Linux: the editor draws its own inside its window).
bool showNativeMessageBox(void* ownerWindow, const std::string& title, const std::string& text);

}  // namespace orv
