#include "platform/ShellOpen.h"

#include <windows.h>
#include <shellapi.h>

#include "platform/windows/WideText.h"

namespace orv {

ShellOpen::Result ShellOpen::openDocument(const std::string& path)
{
    // ShellExecuteW answers a value above 32 when it started the opener; SE_ERR_NOASSOC (31)
    // when no application is associated with the type; any other error below 33.
    const std::wstring file = toWide(path);
    const auto code =
        reinterpret_cast<INT_PTR>(ShellExecuteW(nullptr, L"open", file.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    if (code > 32) return Result::Opened;
    return code == SE_ERR_NOASSOC ? Result::NoApplication : Result::Failed;
}

}  // namespace orv
