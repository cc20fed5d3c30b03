// The 48 internal programs and the reference program, shared by every thread: the audio thread
// writes values (controller moves, performance parameters copied into all programs), the
// user-interface and host threads rename, load and save. Every field is an atomic word, and each
// slot carries a pair of write counters so that a reader can take a whole record that no write
// was changing meanwhile.
//
// Writers never wait: a write counts itself in `begun`, stores its fields and counts itself in
// `ended`. A reader that finds the two counts equal copies the record and checks that `begun`
// has not moved; otherwise it tries again (it waits only for writes of a few stores each). Two
// writers may change the same record at once; each field then holds one of the written values.
#pragma once

#include <atomic>
#include <cstdint>

#include "params/ProgramRecord.h"

namespace orv {

class ProgramBank {
public:
    static constexpr int kReference = kNumPrograms;  // slot of the reference program
    static constexpr int kNumSlots = kNumPrograms + 1;

    // Every slot holds an empty name and zero values.
    ProgramBank();

    // The whole record of a slot as one write left it. Retries while a write is under way.
    ProgramRecord read(int slot) const;
    // The name alone, taken the same way.
    void readName(int slot, char (&name)[kProgramNameSize]) const;
    float value(int slot, int index) const { return slots_[slot].values[index].load(std::memory_order_acquire); }

    void write(int slot, const ProgramRecord& record);
    void setValue(int slot, int index, float value);
    // The value of index in all 48 programs (not the reference).
    void setValueInAll(int index, float value);
    // At most 23 characters of text, terminated.
    void setName(int slot, const char* text);

private:
    static constexpr int kNameWords = kProgramNameSize / 8;

    struct Slot {
        std::atomic<std::uint32_t> begun{0};
        std::atomic<std::uint32_t> ended{0};
        std::atomic<std::uint64_t> name[kNameWords];
        std::atomic<float> values[kNumUserParams];
    };

    // Stores a name's words (inside a counted write).
    static void storeName(Slot& slot, const char (&name)[kProgramNameSize]);
    static void loadName(const Slot& slot, char (&name)[kProgramNameSize]);
    // Copies what copy reads out of a slot once no write is under way and none started meanwhile.
    template <typename Copy>
    static void readWhole(const Slot& slot, Copy copy);

    Slot slots_[kNumSlots];
};

}  // namespace orv
