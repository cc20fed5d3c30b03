#include "platform/NativeMessageBox.h"

#include <windows.h>

#include "platform/windows/WideText.h"

namespace orv {

bool showNativeMessageBox(void* ownerWindow, const std::string& title, const std::string& text)
{
    MessageBoxW(static_cast<HWND>(ownerWindow), toWide(text).c_str(), toWide(title).c_str(), MB_OK);
    return true;
}

}  // namespace orv
