// Conversions between the UTF-8 text used everywhere in the program and the UTF-16 text of the
// Windows API.
#pragma once

#include <string>

namespace orv {

std::wstring toWide(const std::string& utf8);
std::string fromWide(const std::wstring& utf16);
std::string fromWide(const wchar_t* utf16, std::size_t length);

}  // namespace orv
