// How a symbol is kept inside the module or offered to the host. ELF objects mark this per
// symbol; in a Windows DLL nothing is exported unless declared so, and hiding is the default.
#pragma once

#ifdef _WIN32
#define ORV_HIDDEN
#define ORV_EXPORT __declspec(dllexport)
#else
#define ORV_HIDDEN __attribute__((visibility("hidden")))
#define ORV_EXPORT __attribute__((visibility("default")))
#endif
