#include "platform/NativeMessageBox.h"

namespace orv {

// A plug-in on X11 has no toolkit of the host's to ask for one.
bool showNativeMessageBox(void*, const std::string&, const std::string&) { return false; }

}  // namespace orv
