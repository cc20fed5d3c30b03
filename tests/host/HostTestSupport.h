// Shared helpers of the black-box host tests: where the built module and tools are, a small WAV
// reader and writer (independent of libsndfile), running a command, and a loaded module.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "hostlib/PluginHost.h"
#include "support/TempFolder.h"

namespace orv::test {

// The module under test and orv-render, as the test environment (support/TestEnvironment.cpp)
// names them.
inline std::string modulePath() { return std::getenv("ORV_MODULE"); }
inline std::string renderTool() { return std::string(std::getenv("ORV_BUILD_DIR")) + "/tools/orv-render"; }

struct Audio {
    int rate = 0;
    int channels = 0;
    std::vector<float> samples;  // interleaved
    long frames() const { return channels > 0 ? static_cast<long>(samples.size()) / channels : 0; }
    float at(long frame, int channel) const { return samples[static_cast<size_t>(frame * channels + channel)]; }
};

namespace detail {
inline uint32_t get32(const unsigned char* p)
{
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
inline uint16_t get16(const unsigned char* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
}  // namespace detail

// A 32-bit float WAV file (format tag 3), written as a little-endian machine lays it out.
inline void writeFloatWav(const std::string& path, const Audio& a)
{
    const uint32_t bytes = static_cast<uint32_t>(a.samples.size() * 4), channels = static_cast<uint32_t>(a.channels);
    const uint32_t rate = static_cast<uint32_t>(a.rate);
    // "RIFF", size, "WAVE", "fmt ", 16, tag and channels, rate, bytes per second, per frame and
    // bits per sample, "data", size.
    // clang-format off
    const uint32_t header[] = {0x46464952u, 36 + bytes, 0x45564157u, 0x20746d66u, 16, 3 | channels << 16, rate,
                               rate * channels * 4, channels * 4 | 32 << 16, 0x61746164u, bytes};
    // clang-format on
    std::string s(reinterpret_cast<const char*>(header), sizeof header);
    writeFile(path, s.append(reinterpret_cast<const char*>(a.samples.data()), bytes));
}

// Reads 24-bit PCM and 32-bit float WAV files (what orv-render writes for the tests' inputs).
inline bool readWav(const std::string& path, Audio& a)
{
    using namespace detail;
    std::ifstream in(path, std::ios::binary);
    std::vector<unsigned char> d((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (d.size() < 12 || std::memcmp(d.data(), "RIFF", 4) != 0 || std::memcmp(d.data() + 8, "WAVE", 4) != 0)
        return false;
    int tag = 0, bits = 0;
    a = Audio{};
    for (size_t pos = 12; pos + 8 <= d.size(); pos += 8 + get32(&d[pos + 4]) + (get32(&d[pos + 4]) & 1)) {
        const uint32_t size = get32(&d[pos + 4]);
        const unsigned char* body = &d[pos + 8];
        if (pos + 8 + size > d.size()) return false;
        if (std::memcmp(&d[pos], "fmt ", 4) == 0) {
            tag = get16(body);
            a.channels = get16(body + 2);
            a.rate = static_cast<int>(get32(body + 4));
            bits = get16(body + 14);
        } else if (std::memcmp(&d[pos], "data", 4) == 0) {
            if (a.channels == 0 || !((tag == 3 && bits == 32) || (tag == 1 && bits == 24))) return false;
            for (uint32_t i = 0; i + bits / 8 <= size; i += bits / 8) {
                const unsigned char* p = body + i;
                const uint32_t u =
                    bits == 32 ? get32(p) : (p[0] << 8) | (p[1] << 16) | (static_cast<uint32_t>(p[2]) << 24);
                float v;
                std::memcpy(&v, &u, 4);
                a.samples.push_back(bits == 32 ? v : static_cast<float>(static_cast<int32_t>(u) / 2147483648.0));
            }
            return true;
        }
    }
    return false;
}

struct CommandResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

inline std::string shellQuote(const std::string& s)
{
    std::string q = "'";
    for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

// Runs a program with arguments (and extra NAME=VALUE environment entries); stdout and stderr
// are captured through files beside dir.
inline CommandResult run(const std::vector<std::string>& argv, const TempFolder& dir,
                         const std::vector<std::string>& env = {})
{
    std::string cmd = env.empty() ? "" : "env ";
    for (const auto& e : env) cmd += shellQuote(e) + " ";
    for (const auto& a : argv) cmd += shellQuote(a) + " ";
    const std::string outFile = dir.path() + ".stdout", errFile = dir.path() + ".stderr";
    cmd += "</dev/null >" + shellQuote(outFile) + " 2>" + shellQuote(errFile);
    CommandResult r;
    const int status = std::system(cmd.c_str());
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.out = readFile(outFile);
    r.err = readFile(errFile);
    std::remove(outFile.c_str());
    std::remove(errFile.c_str());
    return r;
}

// A loaded and resumed instance of the module under test.
class ModuleTest : public ::testing::Test {
protected:
    static constexpr double kRate = 44100.0;
    static constexpr int kBlock = 512;

    void SetUp() override
    {
        host.setSampleRate(kRate);
        host.setBlockSize(kBlock);
        ASSERT_TRUE(host.start(modulePath())) << host.error();
    }

    vst::iptr dispatch(vst::i32 opcode, vst::i32 index = 0, vst::iptr value = 0, void* ptr = nullptr, float opt = 0.0f)
    {
        return host.dispatch(opcode, index, value, ptr, opt);
    }

    PluginHost host;
};

}  // namespace orv::test
