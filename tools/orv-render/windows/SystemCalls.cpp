#include "orv-render/SystemCalls.h"

#include <io.h>
#include <windows.h>

#include <csignal>
#include <cstdio>

#include "orv-render/windows/WindowsFiles.h"

namespace orv {

std::string temporaryBeside(const std::string& path)
{
    return path + ".orv-render-" + std::to_string(GetCurrentProcessId()) + ".tmp";
}

bool replaceFile(const std::string& temp, const std::string& path, std::string& error)
{
    if (MoveFileExW(widePath(temp).c_str(), widePath(path).c_str(), MOVEFILE_REPLACE_EXISTING) != 0) return true;
    error = "Windows error " + std::to_string(GetLastError());
    DeleteFileW(widePath(temp).c_str());
    return false;
}

bool writeFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes, std::string& error)
{
    const std::string temp = temporaryBeside(path);
    std::FILE* file = _wfopen(widePath(temp).c_str(), L"wb");
    if (file == nullptr) {
        error = "cannot write state file '" + path + "'";
        return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (std::fclose(file) != 0 || !written) {
        DeleteFileW(widePath(temp).c_str());
        error = "cannot write state file '" + path + "'";
        return false;
    }
    std::string why;
    if (!replaceFile(temp, path, why)) {
        error = "cannot write state file '" + path + "': " + why;
        return false;
    }
    return true;
}

void catchInterrupts(void (*handler)(int))
{
    std::signal(SIGINT, handler);
    std::signal(SIGTERM, handler);
}

bool standardErrorIsTerminal() { return _isatty(_fileno(stderr)) != 0; }

}  // namespace orv
