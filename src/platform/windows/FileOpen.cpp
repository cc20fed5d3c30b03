#include "platform/FileOpen.h"

#include <windows.h>

#include <cwchar>
#include <vector>

#include "platform/windows/WideText.h"

namespace orv {

std::FILE* openFile(const std::string& path, const char* mode)
{
    return _wfopen(toWide(path).c_str(), toWide(mode).c_str());
}

std::string currentFolder()
{
    const DWORD size = GetCurrentDirectoryW(0, nullptr);
    if (size == 0) return {};
    std::vector<wchar_t> folder(size, L'\0');
    const DWORD length = GetCurrentDirectoryW(size, folder.data());
    return length > 0 && length < size ? fromWide(folder.data(), length) : std::string();
}

}  // namespace orv
