#include "orv-render/ProgramSelect.h"

#include <cctype>
#include <cstdint>
#include <cstring>
#include <vector>

namespace orv {

namespace {

constexpr int kMaxPrograms = 1024;                // bound on the names asked for
constexpr int32_t kTaggedStateType = 0x03000000;  // first word of the effect's state chunk
constexpr size_t kCurrentProgramOffset = 25;      // chunk header 8 + state header field at 17

std::string lower(std::string s)
{
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

}  // namespace

int ProgramSelect::find(PluginHost& host, const std::string& name)
{
    std::vector<std::string> names;
    char buf[256];
    for (int i = 0; i < kMaxPrograms; ++i) {
        std::memset(buf, 0, sizeof buf);
        if (host.dispatch(vst::effGetProgramNameIndexed, i, 0, buf) == 0) break;
        names.emplace_back(buf);
    }
    for (size_t i = 0; i < names.size(); ++i)
        if (names[i] == name) return static_cast<int>(i);
    int folded = -1, count = 0;
    for (size_t i = 0; i < names.size(); ++i) {
        if (lower(names[i]) == lower(name)) {
            folded = static_cast<int>(i);
            ++count;
        }
    }
    if (count == 1) return folded;
    if (!name.empty() && name.size() < 5 && name.find_first_not_of("0123456789") == std::string::npos) {
        const int index = std::stoi(name);
        if (index < static_cast<int>(names.size())) return index;
    }
    return -1;
}

bool ProgramSelect::select(PluginHost& host, const std::string& name, std::string& error)
{
    const int index = find(host, name);
    if (index < 0) {
        error = "no program '" + name + "' (the names are listed by --list-programs)";
        return false;
    }
    std::vector<uint8_t> state = host.getChunk();
    int32_t type = 0;
    if (state.size() >= kCurrentProgramOffset + sizeof(int32_t)) std::memcpy(&type, state.data(), sizeof type);
    if (type != kTaggedStateType) {
        error = "the module's state does not name a current program, so '" + name + "' cannot be selected";
        return false;
    }
    const int32_t current = index;
    std::memcpy(&state[kCurrentProgramOffset], &current, sizeof current);
    if (host.setChunk(state) < 0) {
        error = "the module refused to select program '" + name + "'";
        return false;
    }
    return true;
}

}  // namespace orv
