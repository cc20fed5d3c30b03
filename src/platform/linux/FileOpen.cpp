#include "platform/FileOpen.h"

#include <unistd.h>

#include <cstdlib>

namespace orv {

std::FILE* openFile(const std::string& path, const char* mode) { return std::fopen(path.c_str(), mode); }

std::string currentFolder()
{
    std::string folder;
    if (char* cwd = getcwd(nullptr, 0); cwd != nullptr) {
        folder = cwd;
        std::free(cwd);
    }
    return folder;
}

}  // namespace orv
