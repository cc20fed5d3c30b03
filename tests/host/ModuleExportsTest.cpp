// The module exports its two entry names and nothing else.

#include <cstdio>
#include <set>
#include <sstream>
#include <string>

#include "host/HostTestSupport.h"

namespace orv::test {
namespace {

TEST(ModuleExports, OnlyTheEntryPoints)
{
    const std::string path = modulePath();
    ASSERT_FALSE(path.empty());
    TempFolder dir;
    const CommandResult r = run({"nm", "-D", "--defined-only", path}, dir);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::set<std::string> names;
    std::istringstream lines(r.out);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream fields(line);
        std::string address, type, name;
        fields >> address >> type >> name;
        if (!name.empty()) names.insert(name);
    }
    EXPECT_EQ(names, (std::set<std::string>{"VSTPluginMain", "main"})) << r.out;
}

}  // namespace
}  // namespace orv::test
