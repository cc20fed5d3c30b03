// Linked into every test program: fills in the paths the tests read from the environment when
// the caller did not set them, and gives the process its own empty settings folder so that no
// test reads or writes the user's real per-user settings.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

struct TestEnvironment {
    TestEnvironment()
    {
        setenv("ORV_MODULE", ORV_DEFAULT_MODULE, 0);
        setenv("ORV_BUILD_DIR", ORV_DEFAULT_BUILD_DIR, 0);
        setenv("ORV_SOURCE_DIR", ORV_DEFAULT_SOURCE_DIR, 0);
        char pattern[] = "/tmp/orv-test-config-XXXXXX";
        if (mkdtemp(pattern) != nullptr) {
            configHome = pattern;
            setenv("XDG_CONFIG_HOME", pattern, 1);
        }
    }
    ~TestEnvironment()
    {
        std::error_code ignored;
        if (!configHome.empty()) std::filesystem::remove_all(configHome, ignored);
    }
    std::string configHome;
};

const TestEnvironment environment;

}  // namespace
