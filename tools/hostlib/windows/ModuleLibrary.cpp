#include "hostlib/ModuleLibrary.h"

#include <windows.h>

#include <string>

#include "hostlib/windows/WidePath.h"

namespace orv {

void* openModule(const std::string& path, std::string& error)
{
    // LoadLibraryW searches the program's folder first for a relative name: the module is
    // loaded by its absolute path, as hosts do.
    const std::wstring wide = widePath(path);
    wchar_t full[MAX_PATH * 4];
    const DWORD n = GetFullPathNameW(wide.c_str(), static_cast<DWORD>(std::size(full)), full, nullptr);
    if (n == 0 || n >= std::size(full)) {
        error = "cannot resolve the path";
        return nullptr;
    }
    // No "cannot load" dialog of the system's for a missing dependency.
    const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    HMODULE module = LoadLibraryExW(full, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    const DWORD code = GetLastError();
    SetErrorMode(oldMode);
    if (module == nullptr) error = "Windows error " + std::to_string(code);
    return reinterpret_cast<void*>(module);
}

// GetProcAddress looks only at the module's own export table.
void* findModuleEntry(void* module, const char* name)
{
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(module), name));
}

void closeModule(void* module)
{
    if (module != nullptr) FreeLibrary(static_cast<HMODULE>(module));
}

}  // namespace orv
