// The program bank against the other threads: records written whole on one thread, values
// written into every program on another (as the audio thread copies performance parameters),
// and names changed by the host while the user-interface thread saves. Every record and every
// name a reader takes must be one that a single write left.

#include <atomic>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>

#include "params/ParameterIndex.h"
#include "params/ProgramBank.h"
#include "unit/programs/EffectUnderTest.h"

namespace orv::test {
namespace {

constexpr int kShared = kNumUserParams - 1;  // the value the second writer puts into all programs

// Record number g: its name and every value but the shared one tell g.
ProgramRecord generation(int g)
{
    ProgramRecord r{};
    std::snprintf(r.name, sizeof r.name, "generation %011d", g);
    for (int i = 0; i < kNumUserParams; ++i) r.values[i] = static_cast<float>(g * 64 + i);
    return r;
}

TEST(ProgramBankThreads, ReadersSeeRecordsAndNamesAsOneWriteLeftThem)
{
    ProgramBank bank;
    constexpr int kSlots = 3;
    for (int s = 0; s < kSlots; ++s) bank.write(s, generation(0));
    std::atomic<bool> stop{false};
    std::atomic<int> written{0};
    std::thread records([&] {
        for (int g = 1; !stop.load(std::memory_order_relaxed); ++g) {
            bank.write(g % kSlots, generation(g));
            written.store(g, std::memory_order_relaxed);
        }
    });
    std::thread shared([&] {
        for (unsigned n = 0; !stop.load(std::memory_order_relaxed); ++n)
            bank.setValueInAll(kShared, -1.0f - static_cast<float>(n % 3));
    });

    // Reads while both writers run, until the first has written a good many records.
    while (written.load() < 100) std::this_thread::yield();
    int torn = 0;
    for (int k = 0; k < 60000 && written.load(std::memory_order_relaxed) < 1000000; ++k) {
        const ProgramRecord r = bank.read(k % kSlots);
        int g = -1;
        if (std::sscanf(r.name, "generation %d", &g) != 1) {
            ++torn;
            continue;
        }
        const ProgramRecord expected = generation(g);
        torn += std::strcmp(r.name, expected.name) != 0 ||
            std::memcmp(r.values, expected.values, sizeof(float) * kShared) != 0;
        // The shared value is one of those written (or the record's own).
        const float v = r.values[kShared];
        torn += !(v == expected.values[kShared] || v == -1.0f || v == -2.0f || v == -3.0f);
        char name[kProgramNameSize];
        bank.readName(k % kSlots, name);
        torn += std::sscanf(name, "generation %d", &g) != 1 || std::strcmp(name, generation(g).name) != 0;
    }
    stop.store(true);
    records.join();
    shared.join();
    EXPECT_EQ(torn, 0);
}

// The host renames the current program and automates a performance parameter, the audio thread
// moves parameters by controller; meanwhile the chunk is saved. Each save holds one of the two
// names whole, and the last one loads back into another instance unchanged.
TEST(ProgramBankThreads, ChunkSavesWhileOtherThreadsWriteThePrograms)
{
    RotaryEffect fx(nullptr);
    fx.setParameter(param::kMidiChl, 1.0f);  // all channels
    fx.assignController(param::kDrive, 20);
    std::string names[] = {std::string(23, 'A'), std::string(23, 'B')};
    fx.setProgramName(names[0].data());
    std::atomic<bool> stop{false};
    std::thread host([&] {
        for (unsigned n = 0; !stop.load(std::memory_order_relaxed); ++n) {
            std::string name = names[n % 2];
            fx.setProgramName(name.data());
            fx.setParameter(param::kLever, static_cast<float>(n % 2));
        }
    });
    std::thread audio([&] {
        MidiBlock controller;
        controller.controlChange(1, 20, 99);
        while (!stop.load(std::memory_order_relaxed)) fx.processEvents(controller.record());
    });

    constexpr std::size_t kFirstName = 8 + 41 + 12;  // after the headers and the first record's fields
    while (fx.getParameter(param::kDrive) != 99.0f / 127.0f) std::this_thread::yield();  // both threads run
    int torn = 0;
    std::vector<unsigned char> last;
    for (int k = 0; k < 150; ++k) {
        void* data = nullptr;
        ASSERT_EQ(fx.getChunk(&data, false), 73969);
        const char* saved = static_cast<const char*>(data) + kFirstName;
        torn += std::string(saved) != names[0] && std::string(saved) != names[1];
        if (k == 149) last.assign(static_cast<unsigned char*>(data), static_cast<unsigned char*>(data) + 73969);
    }
    stop.store(true);
    host.join();
    audio.join();
    EXPECT_EQ(torn, 0);

    RotaryEffect copy(nullptr);
    ASSERT_EQ(copy.setChunk(last.data(), static_cast<int>(last.size()), false), 0);
    const ProgramRecord saved = copy.getProgramRecord(0);
    EXPECT_TRUE(std::string(saved.name) == names[0] || std::string(saved.name) == names[1]);
    EXPECT_FLOAT_EQ(saved.values[param::kDrive], 99.0f / 127.0f);
}

}  // namespace
}  // namespace orv::test
