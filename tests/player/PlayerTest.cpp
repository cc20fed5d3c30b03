// orv-play end to end: a private JACK server on its dummy backend and a private Xvfb, the
// player started as a user starts it, a JACK client of the test's own sending it a tone and
// a controller and reading its outputs back, and the saved state read through the module.
#include <gtest/gtest.h>
#include <jack/jack.h>
#include <jack/midiport.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cerrno>
#include <cstring>
#include <functional>
#include <thread>
#include <utility>

#include "hostlib/PluginHost.h"
#include "support/TempFolder.h"
#include "support/XvfbServer.h"

// After the project's headers: Xlib's macros (None, Bool) clash with names there.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace orv::test {
namespace {

using namespace std::chrono_literals;

constexpr int kLearnedController = 20;  // a general-purpose controller number

pid_t spawn(const std::vector<std::string>& args, const std::vector<std::string>& env, const std::string& errFile)
{
    std::vector<char*> argv, envp;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    for (const std::string& e : env) envp.push_back(const_cast<char*>(e.c_str()));
    for (char** e = environ; *e != nullptr; ++e) envp.push_back(*e);  // later entries lose
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    if (posix_spawnp(&pid, args[0].c_str(), &actions, nullptr, argv.data(), envp.data()) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

// Exit status of a child after SIGTERM (or its own end), −1 when it died of a signal.
int stopChild(pid_t pid, bool terminate = true)
{
    if (pid <= 0) return -1;
    if (terminate) kill(pid, SIGTERM);
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The test's JACK client: a tone into the player's inputs, its outputs measured (RMS since the
// last reset; non-finite samples over the whole run), one controller message on demand into its
// MIDI input.
class ToneClient {
public:
    ~ToneClient() { close(); }
    bool open(const std::string& server)
    {
        client_ = jack_client_open("orv-test", static_cast<jack_options_t>(JackNoStartServer | JackServerName), nullptr,
                                   server.c_str());
        if (client_ == nullptr) return false;
        for (int c = 0; c < 2; ++c) {
            const std::string n = std::to_string(c + 1);
            tone_[c] = jack_port_register(client_, ("tone_" + n).c_str(), JACK_DEFAULT_AUDIO_TYPE, JackPortIsOutput, 0);
            heard_[c] =
                jack_port_register(client_, ("heard_" + n).c_str(), JACK_DEFAULT_AUDIO_TYPE, JackPortIsInput, 0);
        }
        midi_ = jack_port_register(client_, "midi_out", JACK_DEFAULT_MIDI_TYPE, JackPortIsOutput, 0);
        rate_ = jack_get_sample_rate(client_);
        jack_set_process_callback(
            client_, [](jack_nframes_t n, void* self) { return static_cast<ToneClient*>(self)->process(n); }, this);
        return jack_activate(client_) == 0;
    }
    void close()
    {
        if (client_ != nullptr) jack_client_close(std::exchange(client_, nullptr));
    }
    // Tone into the player's inputs, its outputs into ours, our MIDI into its MIDI input.
    // (The player's ports appear before it is active; until then connecting fails.)
    bool connectTo(const std::string& player)
    {
        const std::string me = jack_get_client_name(client_);
        for (const auto& [from, to] : {std::pair{me + ":tone_1", player + ":in_1"},
                                       {me + ":tone_2", player + ":in_2"},
                                       {player + ":out_1", me + ":heard_1"},
                                       {player + ":out_2", me + ":heard_2"},
                                       {me + ":midi_out", player + ":midi_in"}})
            if (const int r = jack_connect(client_, from.c_str(), to.c_str()); r != 0 && r != EEXIST) return false;
        return true;
    }
    void sendControlChange(int controller, int value) { pendingCc_.store(0x10000 | (controller << 8) | value); }
    bool controlChangeSent() const { return pendingCc_.load() == 0; }
    void resetMeasure()
    {
        sumSquares_.store(0.0);
        frames_.store(0);
    }
    double rms() const { return frames_.load() > 0 ? std::sqrt(sumSquares_.load() / double(frames_.load())) : 0.0; }
    long frames() const { return frames_.load(); }
    int nonFinite() const { return nonFinite_.load(); }

private:
    int process(jack_nframes_t n)
    {
        double sum = 0.0;
        for (int c = 0; c < 2; ++c) {
            auto* out = static_cast<float*>(jack_port_get_buffer(tone_[c], n));
            const auto* in = static_cast<const float*>(jack_port_get_buffer(heard_[c], n));
            for (jack_nframes_t i = 0; i < n; ++i) {
                out[i] = static_cast<float>(0.3 * std::sin(2.0 * M_PI * 440.0 * double(phase_ + i) / rate_));
                if (std::isfinite(in[i]))
                    sum += double(in[i]) * in[i] / 2.0;
                else
                    nonFinite_.store(nonFinite_.load() + 1);
            }
        }
        phase_ += n;
        sumSquares_.store(sumSquares_.load() + sum);
        frames_.store(frames_.load() + n);
        void* midi = jack_port_get_buffer(midi_, n);
        jack_midi_clear_buffer(midi);
        if (const int cc = pendingCc_.load(); cc != 0) {
            const jack_midi_data_t message[3] = {0xB0, jack_midi_data_t((cc >> 8) & 0x7F), jack_midi_data_t(cc & 0x7F)};
            jack_midi_event_write(midi, 0, message, 3);
            pendingCc_.store(0);
        }
        return 0;
    }

    jack_client_t* client_ = nullptr;
    jack_port_t *tone_[2] = {}, *heard_[2] = {}, *midi_ = nullptr;
    double rate_ = 48000.0;
    unsigned long phase_ = 0;
    std::atomic<double> sumSquares_{0.0};
    std::atomic<long> frames_{0};
    std::atomic<int> nonFinite_{0}, pendingCc_{0};
};

class PlayerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(xvfb.start(640, 800), "");
        server = "orvplay" + std::to_string(getpid());
        jackd =
            spawn({"jackd", "-n", server, "-r", "-d", "dummy", "-r", "48000", "-p", "256"}, {}, dir.file("jackd.log"));
        ASSERT_GT(jackd, 0) << "jackd (Debian package jackd2) is missing";
        jack_set_error_function([](const char*) {});  // no line for each try before the server is up
        ASSERT_TRUE(waitFor([&] { return client.open(server); })) << readFile(dir.file("jackd.log"));
        module.setSampleRate(48000.0);
        ASSERT_TRUE(module.start(ORV_DEFAULT_MODULE)) << module.error();
    }
    void TearDown() override
    {
        if (player > 0) stopChild(player);
        module.close();
        client.close();
        stopChild(jackd);
    }

    static bool waitFor(const std::function<bool()>& done, std::chrono::milliseconds limit = 15s)
    {
        const auto end = std::chrono::steady_clock::now() + limit;
        while (!done()) {
            if (std::chrono::steady_clock::now() > end) return false;
            std::this_thread::sleep_for(20ms);
        }
        return true;
    }
    std::string statePath() const { return dir.file("Orvaline/ORVGYR2/PlayerState"); }
    void writeState() { writeFile(statePath(), module.getChunk()); }
    void readState()
    {
        const std::string bytes = readFile(statePath());
        ASSERT_FALSE(bytes.empty());
        ASSERT_EQ(module.setChunk(std::vector<uint8_t>(bytes.begin(), bytes.end())), 0);  // accepted
    }
    void startPlayer(std::vector<std::string> args)
    {
        args.insert(args.begin(), ORV_PLAY_BINARY);
        player =
            spawn(args, {"DISPLAY=" + xvfb.display(), "JACK_DEFAULT_SERVER=" + server, "XDG_CONFIG_HOME=" + dir.path()},
                  dir.file("player.log"));
        ASSERT_GT(player, 0);
    }
    int stopPlayer() { return stopChild(std::exchange(player, -1)); }

    TempFolder dir;
    XvfbServer xvfb;
    std::string server;
    pid_t jackd = -1, player = -1;
    ToneClient client;
    PluginHost module;
};

TEST_F(PlayerTest, PlaysThroughJackAndALearnedControllerMovesItsParameter)
{
    // Controller 20 bound to Mix, all MIDI channels, as learning would leave it.
    const int mix = module.findParameter("Mix"), channel = module.findParameter("MIDIchl");
    ASSERT_GE(mix, 0);
    ASSERT_GE(channel, 0);
    module.setParameter(channel, 1.0f);
    module.setParameter(module.numParams() + mix, (kLearnedController + 0.5f) / 129.0f);
    module.setParameter(mix, 0.5f);
    writeState();

    startPlayer({"--audio"});
    // Connecting to all five of its ports is the proof that they exist.
    ASSERT_TRUE(waitFor([&] { return client.connectTo("orv-play"); })) << readFile(dir.file("player.log"));

    // The engine fades in; on a loaded machine the server may take a while to run steadily, so
    // windows of 250 ms are measured until one carries the processed tone.
    const bool sounding = waitFor([&] {
        client.resetMeasure();
        std::this_thread::sleep_for(250ms);
        return client.frames() > 5000 && client.rms() > 0.01;
    });
    EXPECT_TRUE(sounding) << client.frames() << " frames, RMS " << client.rms();
    EXPECT_EQ(client.nonFinite(), 0);

    client.sendControlChange(kLearnedController, 0);
    ASSERT_TRUE(waitFor([&] { return client.controlChangeSent(); }));
    // A few more periods of the server's graph, which the player runs in too: on a loaded
    // machine a fixed pause can end before the player's next cycle.
    const long sentAt = client.frames();
    ASSERT_TRUE(waitFor([&] { return client.frames() > sentAt + 4 * 256; }));
    EXPECT_EQ(stopPlayer(), 0) << readFile(dir.file("player.log"));
    readState();
    EXPECT_EQ(module.getParameter(mix), 0.0f);
    EXPECT_FLOAT_EQ(module.getParameter(module.numParams() + mix), (kLearnedController + 0.5f) / 129.0f);
}

// The title of the player's window, found among the top-level windows by its class.
std::string playerTitle(Display* d)
{
    Window root, parent, *children = nullptr;
    unsigned count = 0;
    std::string title;
    if (XQueryTree(d, DefaultRootWindow(d), &root, &parent, &children, &count) == 0) return title;
    for (unsigned i = 0; i < count && title.empty(); ++i) {
        XClassHint hint{};
        if (XGetClassHint(d, children[i], &hint) == 0) continue;
        char* name = nullptr;
        if (std::strcmp(hint.res_class, "orv-play") == 0 && XFetchName(d, children[i], &name) != 0 && name != nullptr) {
            title = name;
            XFree(name);
        }
        XFree(hint.res_name);
        XFree(hint.res_class);
    }
    if (children != nullptr) XFree(children);
    return title;
}

TEST_F(PlayerTest, RestoresItsStateAtStartTitlesTheWindowAndSavesItAgain)
{
    const int mix = module.findParameter("Mix");
    module.setParameter(mix, 0.25f);
    char name[] = "Sunday Organ";
    module.dispatch(vst::effSetProgramName, 0, 0, name);
    writeState();

    // One connection for all the looking, made first: Xvfb resets itself whenever its last
    // client leaves, and a client connecting during a reset is turned away.
    Display* x = XOpenDisplay(xvfb.display().c_str());
    ASSERT_NE(x, nullptr);
    startPlayer({});  // no JACK: the engine runs on silence
    EXPECT_TRUE(waitFor([&] { return playerTitle(x) == "Sunday Organ"; })) << playerTitle(x);
    EXPECT_EQ(stopPlayer(), 0) << readFile(dir.file("player.log"));
    XCloseDisplay(x);

    module.setParameter(mix, 0.75f);
    readState();
    EXPECT_EQ(module.getParameter(mix), 0.25f);
    EXPECT_EQ(module.programName(), "Sunday Organ");
}

TEST(PlayerWithoutServer, SaysSoAndFails)
{
    TempFolder dir;
    const pid_t pid = spawn({ORV_PLAY_BINARY, "--audio"},
                            {"JACK_DEFAULT_SERVER=orvnone" + std::to_string(getpid()), "XDG_CONFIG_HOME=" + dir.path()},
                            dir.file("err"));
    ASSERT_GT(pid, 0);
    EXPECT_EQ(stopChild(pid, false), 1);
    const std::string err = readFile(dir.file("err"));
    EXPECT_EQ(err.rfind("orv-play: no JACK server is running", 0), 0u) << err;
    EXPECT_TRUE(dir.entries().size() == 1) << "nothing saved without a server";
}

}  // namespace
}  // namespace orv::test
