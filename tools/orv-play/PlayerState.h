// The player's saved state: the effect's chunk in a file of the per-user settings folder.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orv::play {

// ${XDG_CONFIG_HOME:-$HOME/.config}/Orvaline/ORVGYR2/PlayerState
std::string playerStatePath();

// The file's bytes; empty when there is none.
std::vector<uint8_t> readPlayerState(const std::string& path);
// Writes through a temporary file in the same folder renamed into place (creating the
// folders), so a crash never leaves half a state. Answers false with the reason in error.
bool writePlayerState(const std::string& path, const std::vector<uint8_t>& bytes, std::string& error);

}  // namespace orv::play
