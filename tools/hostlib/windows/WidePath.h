// UTF-8 paths to the UTF-16 paths of the Windows API, for the host library and orv-render.
#pragma once

#include <string>

namespace orv {

std::wstring widePath(const std::string& utf8);

}  // namespace orv
