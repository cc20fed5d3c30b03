#include "hostlib/ModuleLibrary.h"

#include <dlfcn.h>
#include <link.h>

namespace orv {

void* openModule(const std::string& path, std::string& error)
{
    // A bare file name would make dlopen search the library path instead of the folder.
    const std::string openPath = path.find('/') == std::string::npos ? "./" + path : path;
    dlerror();
    void* handle = dlopen(openPath.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* why = dlerror();
        error = why != nullptr ? why : "unknown error";
    }
    return handle;
}

void* findModuleEntry(void* module, const char* name)
{
    // dlsym also searches the module's dependencies, and one of them could define a `main` of
    // its own: only a symbol inside the module's own object counts.
    link_map* map = nullptr;
    if (dlinfo(module, RTLD_DI_LINKMAP, &map) != 0) map = nullptr;
    void* sym = dlsym(module, name);
    Dl_info info{};
    if (sym != nullptr && map != nullptr && dladdr(sym, &info) != 0 &&
        reinterpret_cast<ElfW(Addr)>(info.dli_fbase) != map->l_addr && map->l_addr != 0)
        return nullptr;
    return sym;
}

void closeModule(void* module)
{
    if (module != nullptr) dlclose(module);
}

}  // namespace orv
