// Loading a plug-in module and finding its entry points: dlopen on Linux, LoadLibraryW on
// Windows.
#pragma once

#include <string>

namespace orv {

// Loads the module at path (a bare file name counts as one in the current folder, never as a
// name for the system's search). Answers null with a one-line reason in error.
void* openModule(const std::string& path, std::string& error);

// The address of a symbol that the module itself defines (not one of its dependencies'), or
// null.
void* findModuleEntry(void* module, const char* name);

void closeModule(void* module);

}  // namespace orv
