#include "platform/SettingsStore.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace orv {

namespace {

constexpr mode_t kFolderMode = 0700;  // settings are private to the user
constexpr mode_t kFileMode = 0600;

// Value names are plain file names: no separators, not hidden, not empty.
bool isValidName(const char* name)
{
    return name != nullptr && *name != '\0' && *name != '.' && std::strchr(name, '/') == nullptr;
}

std::string homeFolder()
{
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') return home;
    struct passwd entry;
    struct passwd* found = nullptr;
    char buffer[4096];  // room for the password entry's strings
    if (getpwuid_r(getuid(), &entry, buffer, sizeof buffer, &found) == 0 && found != nullptr &&
        found->pw_dir != nullptr)
        return found->pw_dir;
    return {};
}

bool makeOneFolder(const std::string& path)
{
    if (mkdir(path.c_str(), kFolderMode) == 0) return true;
    if (errno != EEXIST) return false;
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool writeAll(int fd, const unsigned char* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t n = write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

bool readFile(const std::string& path, std::vector<unsigned char>& data)
{
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st;
    bool ok = fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size >= 0 &&
        static_cast<std::size_t>(st.st_size) <= SettingsStore::kMaxValueBytes;
    std::vector<unsigned char> bytes;
    if (ok) {
        // Read to the end rather than trusting the size: the file is never rewritten in place,
        // but this also copes with one that is.
        unsigned char buffer[16384];
        for (;;) {
            const ssize_t n = read(fd, buffer, sizeof buffer);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) {
                ok = false;
                break;
            }
            if (n == 0) break;
            bytes.insert(bytes.end(), buffer, buffer + n);
            if (bytes.size() > SettingsStore::kMaxValueBytes) {
                ok = false;
                break;
            }
        }
    }
    close(fd);
    if (ok) data.swap(bytes);
    return ok;
}

}  // namespace

std::string SettingsStore::defaultFolder()
{
    std::string base;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && xdg[0] == '/') {
        base = xdg;
    } else {
        const std::string home = homeFolder();
        if (home.empty()) return {};
        base = home + "/.config";
    }
    return base + "/" + kVendorFolder + "/" + kProductFolder;
}

SettingsStore::SettingsStore() : folder_(defaultFolder()) {}

SettingsStore::SettingsStore(std::string folder) : folder_(std::move(folder)) {}

std::string SettingsStore::pathOf(const char* name) const { return folder_ + "/" + name; }

bool SettingsStore::makeFolder() const
{
    if (folder_.empty()) return false;
    // Creates each missing folder on the way down, like mkdir -p.
    std::size_t pos = folder_[0] == '/' ? 1 : 0;
    for (;;) {
        pos = folder_.find('/', pos);
        const std::string part = folder_.substr(0, pos);
        if (!part.empty() && !makeOneFolder(part)) return false;
        if (pos == std::string::npos) return true;
        ++pos;
    }
}

bool SettingsStore::setBinary(const char* name, const void* data, std::size_t size)
{
    if (!isValidName(name) || folder_.empty() || (data == nullptr && size > 0) || size > kMaxValueBytes) return false;
    const auto* bytes = static_cast<const unsigned char*>(data);
    std::vector<unsigned char> stored;
    if (getBinary(name, stored) && stored.size() == size && (size == 0 || std::memcmp(stored.data(), bytes, size) == 0))
        return true;
    if (!makeFolder()) return false;

    std::string temp = folder_ + "/." + name + ".XXXXXX";
    const int fd = mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) return false;
    bool ok = fchmod(fd, kFileMode) == 0 && writeAll(fd, bytes, size) && fsync(fd) == 0;
    ok = close(fd) == 0 && ok;
    // rename() replaces the value in one step: a reader sees the old or the new file, whole.
    if (ok) ok = rename(temp.c_str(), pathOf(name).c_str()) == 0;
    if (!ok) unlink(temp.c_str());
    return ok;
}

bool SettingsStore::setString(const char* name, const std::string& text)
{
    return setBinary(name, text.data(), text.size());
}

bool SettingsStore::getBinary(const char* name, std::vector<unsigned char>& data) const
{
    if (!isValidName(name) || folder_.empty()) return false;
    return readFile(pathOf(name), data);
}

bool SettingsStore::getString(const char* name, std::string& text) const
{
    std::vector<unsigned char> bytes;
    if (!getBinary(name, bytes)) return false;
    text.assign(bytes.begin(), bytes.end());
    // Text ends at a terminator, should a value hold one.
    if (const std::size_t end = text.find('\0'); end != std::string::npos) text.resize(end);
    return true;
}

bool SettingsStore::remove(const char* name)
{
    if (!isValidName(name) || folder_.empty()) return false;
    return unlink(pathOf(name).c_str()) == 0 || errno == ENOENT;
}

}  // namespace orv
