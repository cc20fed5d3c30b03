#include "platform/SettingsStore.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "platform/windows/WideText.h"

namespace orv {

namespace {

constexpr int kReadAttempts = 4;  // a value that keeps growing between size query and read fails

class Key {
public:
    ~Key()
    {
        if (handle != nullptr) RegCloseKey(handle);
    }
    HKEY handle = nullptr;
};

bool isValidName(const char* name) { return name != nullptr && *name != '\0'; }

// Reads a value's type and bytes: first its size, then its data.
bool queryValue(const std::string& keyPath, const char* name, DWORD& type, std::vector<unsigned char>& data)
{
    Key key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, toWide(keyPath).c_str(), 0, KEY_QUERY_VALUE, &key.handle) != ERROR_SUCCESS)
        return false;
    const std::wstring wideName = toWide(name);
    for (int attempt = 0; attempt < kReadAttempts; ++attempt) {
        DWORD size = 0;
        if (RegQueryValueExW(key.handle, wideName.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
            size > SettingsStore::kMaxValueBytes)
            return false;
        std::vector<unsigned char> bytes(size);
        const LONG rc = RegQueryValueExW(key.handle, wideName.c_str(), nullptr, &type, bytes.data(), &size);
        if (rc == ERROR_MORE_DATA) continue;  // replaced by a larger value meanwhile
        if (rc != ERROR_SUCCESS) return false;
        bytes.resize(size);
        data.swap(bytes);
        return true;
    }
    return false;
}

// Creates or opens the key (non-volatile, write access) and sets one value in a single call.
bool setValue(const std::string& keyPath, const char* name, DWORD type, const void* data, std::size_t size)
{
    Key key;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, toWide(keyPath).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE,
                        nullptr, &key.handle, nullptr) != ERROR_SUCCESS)
        return false;
    return RegSetValueExW(key.handle, toWide(name).c_str(), 0, type, static_cast<const BYTE*>(data),
                          static_cast<DWORD>(size)) == ERROR_SUCCESS;
}

}  // namespace

std::string SettingsStore::defaultFolder()
{
    if (const char* key = std::getenv("ORV_SETTINGS_KEY"); key != nullptr && *key != '\0') return key;
    return std::string("SOFTWARE\\") + kVendorFolder + "\\" + kProductFolder;
}

SettingsStore::SettingsStore() : folder_(defaultFolder()) {}

SettingsStore::SettingsStore(std::string folder) : folder_(std::move(folder)) {}

bool SettingsStore::setBinary(const char* name, const void* data, std::size_t size)
{
    if (!isValidName(name) || folder_.empty() || (data == nullptr && size > 0) || size > kMaxValueBytes) return false;
    return setValue(folder_, name, REG_BINARY, data, size);
}

bool SettingsStore::setString(const char* name, const std::string& text)
{
    if (!isValidName(name) || folder_.empty() || text.size() > kMaxValueBytes / sizeof(wchar_t)) return false;
    const std::wstring wide = toWide(text);
    // REG_SZ data holds its terminator.
    return setValue(folder_, name, REG_SZ, wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
}

bool SettingsStore::getBinary(const char* name, std::vector<unsigned char>& data) const
{
    if (!isValidName(name) || folder_.empty()) return false;
    DWORD type = 0;
    return queryValue(folder_, name, type, data);
}

bool SettingsStore::getString(const char* name, std::string& text) const
{
    if (!isValidName(name) || folder_.empty()) return false;
    DWORD type = 0;
    std::vector<unsigned char> bytes;
    if (!queryValue(folder_, name, type, bytes)) return false;
    if (type == REG_SZ || type == REG_EXPAND_SZ) {
        std::wstring wide(bytes.size() / sizeof(wchar_t), L'\0');
        if (!wide.empty()) std::memcpy(wide.data(), bytes.data(), wide.size() * sizeof(wchar_t));
        // Text ends at a terminator, should the value hold one (it normally does).
        if (const std::size_t end = wide.find(L'\0'); end != std::wstring::npos) wide.resize(end);
        text = fromWide(wide);
    } else {
        // Another type is taken as 8-bit text, as a value written by hand might be.
        text.assign(bytes.begin(), bytes.end());
        if (const std::size_t end = text.find('\0'); end != std::string::npos) text.resize(end);
    }
    return true;
}

bool SettingsStore::remove(const char* name)
{
    if (!isValidName(name) || folder_.empty()) return false;
    Key key;
    const LONG opened = RegOpenKeyExW(HKEY_CURRENT_USER, toWide(folder_).c_str(), 0, KEY_SET_VALUE, &key.handle);
    if (opened == ERROR_FILE_NOT_FOUND) return true;  // no key, no value
    if (opened != ERROR_SUCCESS) return false;
    const LONG rc = RegDeleteValueW(key.handle, toWide(name).c_str());
    return rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND;
}

}  // namespace orv
