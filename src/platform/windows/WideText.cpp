#include "platform/windows/WideText.h"

#include <windows.h>

namespace orv {

std::wstring toWide(const std::string& utf8)
{
    if (utf8.empty()) return {};
    const int size = static_cast<int>(utf8.size());
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0) MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, out.data(), n);
    return out;
}

std::string fromWide(const wchar_t* utf16, std::size_t length)
{
    if (utf16 == nullptr || length == 0) return {};
    const int size = static_cast<int>(length);
    const int n = WideCharToMultiByte(CP_UTF8, 0, utf16, size, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
    if (n > 0) WideCharToMultiByte(CP_UTF8, 0, utf16, size, out.data(), n, nullptr, nullptr);
    return out;
}

std::string fromWide(const std::wstring& utf16) { return fromWide(utf16.data(), utf16.size()); }

}  // namespace orv
