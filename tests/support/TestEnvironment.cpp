// Linked into every test program: fills in the paths the tests read from the environment when
// the caller did not set them, and gives the process its own empty settings folder so that no
// test reads or writes the user's real per-user settings.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

class TestEnvironment {
public:
    TestEnvironment()
    {
        setenv("ORV_MODULE", ORV_DEFAULT_MODULE, 0);
        setenv("ORV_BUILD_DIR", ORV_DEFAULT_BUILD_DIR, 0);
        setenv("ORV_SOURCE_DIR", ORV_DEFAULT_SOURCE_DIR, 0);
        char pattern[] = "/tmp/orv-test-config-XXXXXX";
        if (mkdtemp(pattern) != nullptr) {
            configHome_ = pattern;
            setenv("XDG_CONFIG_HOME", pattern, 1);
        }
    }
    ~TestEnvironment()
    {
        if (configHome_.empty()) return;
        std::error_code ignored;
        std::filesystem::remove_all(configHome_, ignored);
    }

private:
    std::string configHome_;
};

const TestEnvironment environment;

}  // namespace
