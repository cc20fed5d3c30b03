#include "platform/SettingsStore.h"

namespace orv {

std::string SettingsStore::firstCharacters(const std::string& text, std::size_t maxCharacters)
{
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        // Continuation bytes (10xxxxxx) belong to the character before them.
        const auto byte = static_cast<unsigned char>(text[i]);
        if ((byte & 0xC0) == 0x80) continue;
        if (characters == maxCharacters) return text.substr(0, i);
        ++characters;
    }
    return text;
}

}  // namespace orv
