// Per-user settings store: named binary and text values that survive from one use of the effect
// to the next.
// - Linux: each value is one file named after it in
//   ${XDG_CONFIG_HOME:-$HOME/.config}/Orvaline/ORVGYR2/; binary values hold their bytes, text
//   values UTF-8. A write goes to a temporary file in the same folder that is then renamed over
//   the value, so readers and other instances writing at the same time only ever see a whole
//   value.
// - Windows: the "folder" is the registry key HKEY_CURRENT_USER\SOFTWARE\Orvaline\ORVGYR2;
//   binary values are REG_BINARY, text values REG_SZ (UTF-16). The registry replaces a value
//   whole in one call, so the same holds there.
// Failures (no home, read-only or missing folder or key) make the operations answer false and
// change nothing.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace orv {

class SettingsStore {
public:
    static constexpr const char* kVendorFolder = "Orvaline";
    static constexpr const char* kProductFolder = "ORVGYR2";
    // Larger files in the folder are not taken for values (the largest value is a bank image).
    static constexpr std::size_t kMaxValueBytes = 1 << 20;

    // Linux: the folder of this user, from XDG_CONFIG_HOME when it holds an absolute path, else
    // $HOME/.config (the password database's home when HOME is unset); empty when unknown.
    // Windows: the key SOFTWARE\Orvaline\ORVGYR2 under HKEY_CURRENT_USER, or the key that the
    // environment variable ORV_SETTINGS_KEY names there (tests use a key of their own).
    static std::string defaultFolder();

    // A store in defaultFolder(), looked up now.
    SettingsStore();
    // A store in the given folder or key (created when the first value is written).
    explicit SettingsStore(std::string folder);

    const std::string& folder() const { return folder_; }

    // Stores a value, replacing any earlier one whole. A value equal to the stored one is left
    // as it is.
    bool setBinary(const char* name, const void* data, std::size_t size);
    bool setString(const char* name, const std::string& text);
    // Reads a value; false when it does not exist or cannot be read.
    bool getBinary(const char* name, std::vector<unsigned char>& data) const;
    bool getString(const char* name, std::string& text) const;
    // Deletes a value; true when it no longer exists.
    bool remove(const char* name);

    // The first maxCharacters characters of UTF-8 text, cut between characters.
    static std::string firstCharacters(const std::string& text, std::size_t maxCharacters);

private:
    std::string pathOf(const char* name) const;
    bool makeFolder() const;

    std::string folder_;
};

}  // namespace orv
