// --program: applies one of the effect's internal programs. The host sees a single program, so
// the internal ones are listed with effGetProgramNameIndexed and chosen through the state
// chunk: the effect's own chunk is handed back with its current-program field changed.
#pragma once

#include <string>

#include "hostlib/PluginHost.h"

namespace orv {

class ProgramSelect {
public:
    // Index of the internal program with this name (exact, then a unique match ignoring case),
    // or its index written as a number; -1 when there is none.
    static int find(PluginHost& host, const std::string& name);
    // Makes the program current. False with a reason in error when the module cannot.
    static bool select(PluginHost& host, const std::string& name, std::string& error);
};

}  // namespace orv
