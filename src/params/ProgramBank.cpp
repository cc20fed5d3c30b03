#include "params/ProgramBank.h"

#include <cstring>
#include <thread>

namespace orv {

namespace {

static_assert(kProgramNameSize % 8 == 0, "the name is stored as whole 64-bit words");

// Field stores are releases and field loads acquires (plain moves on x86-64): a reader that sees
// a field of a write also sees that write's `begun` count when it checks the count again.
constexpr auto kStore = std::memory_order_release;
constexpr auto kLoad = std::memory_order_acquire;

// A write in progress or one that began while a copy was made is waited out; after a few tries
// the reader lets the writer's thread run.
constexpr int kSpinsBeforeYield = 16;

// Counts a write around the stores it makes.
template <typename Slot, typename Stores>
void countedWrite(Slot& slot, Stores stores)
{
    slot.begun.fetch_add(1, std::memory_order_relaxed);
    stores();
    slot.ended.fetch_add(1, std::memory_order_release);
}

}  // namespace

ProgramBank::ProgramBank()
{
    for (Slot& slot : slots_) {
        for (auto& word : slot.name) word.store(0, std::memory_order_relaxed);
        for (auto& v : slot.values) v.store(0.0f, std::memory_order_relaxed);
    }
}

template <typename Copy>
void ProgramBank::readWhole(const Slot& slot, Copy copy)
{
    for (int attempt = 0;; ++attempt) {
        const std::uint32_t ended = slot.ended.load(std::memory_order_acquire);
        const std::uint32_t begun = slot.begun.load(std::memory_order_relaxed);
        if (begun == ended) {
            copy();
            if (slot.begun.load(std::memory_order_relaxed) == begun) return;
        }
        if (attempt >= kSpinsBeforeYield) std::this_thread::yield();
    }
}

void ProgramBank::storeName(Slot& slot, const char (&name)[kProgramNameSize])
{
    for (int w = 0; w < kNameWords; ++w) {
        std::uint64_t word;
        std::memcpy(&word, name + 8 * w, sizeof word);
        slot.name[w].store(word, kStore);
    }
}

void ProgramBank::loadName(const Slot& slot, char (&name)[kProgramNameSize])
{
    for (int w = 0; w < kNameWords; ++w) {
        const std::uint64_t word = slot.name[w].load(kLoad);
        std::memcpy(name + 8 * w, &word, sizeof word);
    }
}

ProgramRecord ProgramBank::read(int slot) const
{
    const Slot& s = slots_[slot];
    ProgramRecord record;
    readWhole(s, [&] {
        loadName(s, record.name);
        for (int i = 0; i < kNumUserParams; ++i) record.values[i] = s.values[i].load(kLoad);
    });
    return record;
}

void ProgramBank::readName(int slot, char (&name)[kProgramNameSize]) const
{
    const Slot& s = slots_[slot];
    readWhole(s, [&] { loadName(s, name); });
}

void ProgramBank::write(int slot, const ProgramRecord& record)
{
    Slot& s = slots_[slot];
    countedWrite(s, [&] {
        storeName(s, record.name);
        for (int i = 0; i < kNumUserParams; ++i) s.values[i].store(record.values[i], kStore);
    });
}

void ProgramBank::setValue(int slot, int index, float value)
{
    Slot& s = slots_[slot];
    countedWrite(s, [&] { s.values[index].store(value, kStore); });
}

void ProgramBank::setValueInAll(int index, float value)
{
    for (int p = 0; p < kNumPrograms; ++p) setValue(p, index, value);
}

void ProgramBank::setName(int slot, const char* text)
{
    char name[kProgramNameSize] = {};
    if (text != nullptr) std::strncpy(name, text, kProgramNameSize - 1);
    Slot& s = slots_[slot];
    countedWrite(s, [&] { storeName(s, name); });
}

}  // namespace orv
