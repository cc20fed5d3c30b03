// Linked into every test program of the Windows build: fills in the paths the tests read from
// the environment when the caller did not set them, and gives the process its own registry key
// for the per-user settings (removed at exit), so that no test reads or writes the real ones.
#include <windows.h>

#include <cstdlib>
#include <string>

namespace {

void setDefault(const char* name, const char* value)
{
    if (std::getenv(name) == nullptr) _putenv_s(name, value);
}

class TestEnvironment {
public:
    TestEnvironment()
    {
        setDefault("ORV_MODULE", ORV_DEFAULT_MODULE);
        setDefault("ORV_BUILD_DIR", ORV_DEFAULT_BUILD_DIR);
        setDefault("ORV_SOURCE_DIR", ORV_DEFAULT_SOURCE_DIR);
        key_ = "SOFTWARE\\Orvaline\\ORVGYR2-test-" + std::to_string(GetCurrentProcessId()) + "-" +
            std::to_string(GetTickCount64());
        _putenv_s("ORV_SETTINGS_KEY", key_.c_str());
    }
    ~TestEnvironment() { RegDeleteTreeA(HKEY_CURRENT_USER, key_.c_str()); }

private:
    std::string key_;
};

const TestEnvironment environment;

}  // namespace
