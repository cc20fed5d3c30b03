// The per-user settings store: where it lives, values written whole and read back, missing,
// empty and unwritable folders, and several writers at once.

#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <thread>

#include "platform/SettingsStore.h"
#include "unit/files/FilesTestSupport.h"

namespace orv::test {
namespace {

TEST(SettingsStore, FolderFollowsAnAbsoluteXdgConfigHomeElseHome)
{
    const passwd* me = getpwuid(getuid());
    ASSERT_NE(me, nullptr);
    const std::string inHome = "/home/tester/.config/Orvaline/ORVGYR2";
    const std::tuple<const char*, const char*, std::string> cases[] = {
        {"/somewhere/cfg", "/home/tester", "/somewhere/cfg/Orvaline/ORVGYR2"},
        {nullptr, "/home/tester", inHome},
        {"", "/home/tester", inHome},              // empty: not set
        {"relative/cfg", "/home/tester", inHome},  // only absolute paths count
        {nullptr, nullptr, std::string(me->pw_dir) + "/.config/Orvaline/ORVGYR2"},
    };
    for (const auto& [xdg, home, folder] : cases) {
        ScopedEnv x("XDG_CONFIG_HOME", xdg), h("HOME", home);
        EXPECT_EQ(SettingsStore::defaultFolder(), folder);
    }
}

TEST(SettingsStore, ValuesAreStoredAsTheirBytesAndSharedBetweenStores)
{
    TempFolder tmp;
    const std::string folder = tmp.path() + "/a/b/Orvaline/ORVGYR2";  // made on the first write
    SettingsStore store(folder), other(folder);
    Bytes image(1553);
    for (size_t i = 0; i < image.size(); ++i) image[i] = static_cast<uint8_t>(i * 37 + 1);
    image[100] = 0;  // binary values may hold zero bytes
    ASSERT_TRUE(store.setBinary("DefaultPreset", image.data(), image.size()));
    EXPECT_EQ(readFileBytes(folder + "/DefaultPreset"), image);
    EXPECT_EQ(std::filesystem::status(folder).permissions(), std::filesystem::perms::owner_all);
    std::vector<unsigned char> back;
    ASSERT_TRUE(other.getBinary("DefaultPreset", back));
    EXPECT_EQ(Bytes(back.begin(), back.end()), image);

    const std::string path = "/home/jürgen/Presets für Orgel";
    ASSERT_TRUE(store.setString("CurrDir", path));
    EXPECT_EQ(readFileBytes(folder + "/CurrDir"), Bytes(path.begin(), path.end()));  // UTF-8, no terminator
    ASSERT_TRUE(other.setString("CurrDir", ""));  // replacing leaves no temporary file behind
    std::string text = "unchanged";
    ASSERT_TRUE(store.getString("CurrDir", text));
    EXPECT_EQ(text, "");
    EXPECT_EQ(tmp.entries("a/b/Orvaline/ORVGYR2"), (std::vector<std::string>{"CurrDir", "DefaultPreset"}));

    // Missing values: a failed read leaves the buffer alone; removing nothing is fine.
    text = "unchanged";
    EXPECT_FALSE(store.getString("CurrBank", text));
    EXPECT_EQ(text, "unchanged");
    EXPECT_TRUE(store.remove("MemoA"));
    EXPECT_TRUE(store.remove("DefaultPreset"));
    EXPECT_FALSE(store.getBinary("DefaultPreset", back));
    EXPECT_EQ(back.size(), image.size());
    // Names that are not plain file names are refused.
    for (const char* name : {"", "../escape", "a/b", ".hidden", static_cast<const char*>(nullptr)})
        EXPECT_FALSE(store.setBinary(name, image.data(), 1)) << (name ? name : "null");
    EXPECT_FALSE(fileExists(tmp.path() + "/a/b/Orvaline/escape"));
}

TEST(SettingsStore, MissingEmptyOrUnwritableFoldersAreHarmless)
{
    TempFolder tmp;
    std::vector<unsigned char> data;
    std::string text;
    EXPECT_FALSE(SettingsStore(tmp.path() + "/missing").getBinary("DefaultBank", data));
    EXPECT_FALSE(fileExists(tmp.path() + "/missing"));                     // reading creates nothing
    EXPECT_FALSE(SettingsStore(std::string()).setString("CurrDir", "x"));  // no folder known at all
    // A file where the folder should be, and a place where nothing can be created (even by
    // root): writes fail and change nothing.
    writeFile(tmp.path() + "/Orvaline", Bytes{1});
    EXPECT_FALSE(SettingsStore(tmp.path() + "/Orvaline/ORVGYR2").setString("CurrDir", "x"));
    EXPECT_EQ(readFileBytes(tmp.path() + "/Orvaline"), Bytes{1});
    EXPECT_FALSE(SettingsStore("/proc/self/Orvaline/ORVGYR2").setString("CurrDir", "x"));
    // A value that is a folder, or too large to be a value, is not read.
    std::filesystem::create_directories(tmp.path() + "/DefaultMidi");
    EXPECT_FALSE(SettingsStore(tmp.path()).getBinary("DefaultMidi", data));
    writeFile(tmp.path() + "/MemoB", Bytes(SettingsStore::kMaxValueBytes + 1, 7));
    EXPECT_FALSE(SettingsStore(tmp.path()).getBinary("MemoB", data));

    // A read-only folder keeps its values. Root writes into read-only folders, so the store is
    // tried by an unprivileged child then.
    TempFolder ro;
    ASSERT_TRUE(SettingsStore(ro.path()).setString("CurrDir", "/old"));
    chmod(ro.file("CurrDir").c_str(), 0644);
    chmod(ro.path().c_str(), 0555);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        constexpr uid_t kNobody = 65534;
        if (geteuid() == 0 && (setgid(kNobody) != 0 || setuid(kNobody) != 0)) _exit(10);
        SettingsStore store(ro.path());
        const bool kept = !store.setString("CurrDir", "/new") && !store.setString("CurrBank", "x") &&
            store.getString("CurrDir", text) && text == "/old";
        _exit(kept ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    chmod(ro.path().c_str(), 0700);
    EXPECT_EQ(ro.entries(), std::vector<std::string>{"CurrDir"});
}

TEST(SettingsStore, WritersAtOnceNeverLeaveATornValue)
{
    TempFolder tmp;
    constexpr size_t kSize = 72617;  // a bank image
    std::atomic<bool> stop{false};
    std::atomic<int> torn{0}, reads{0}, failed{0};
    std::thread reader([&] {
        SettingsStore store(tmp.path());
        std::vector<unsigned char> data;
        while (!stop.load() || reads.load() == 0) {  // at least one read, whatever the scheduling
            if (!store.getBinary("DefaultBank", data)) continue;
            ++reads;
            bool whole = data.size() == kSize;
            for (size_t i = 1; whole && i < data.size(); ++i) whole = data[i] == data[0];
            torn += whole ? 0 : 1;
        }
    });
    std::vector<std::thread> writers;
    for (int w = 0; w < 2; ++w) {
        writers.emplace_back([&, w] {
            SettingsStore store(tmp.path());  // each instance has its own store
            for (int n = 0; n < 60; ++n) {
                const std::vector<unsigned char> value(kSize, static_cast<unsigned char>('A' + 2 * w + n % 2));
                failed += store.setBinary("DefaultBank", value.data(), value.size()) ? 0 : 1;
            }
        });
    }
    for (std::thread& t : writers) t.join();
    stop = true;
    reader.join();
    EXPECT_EQ(failed.load(), 0);
    EXPECT_EQ(torn.load(), 0);
    EXPECT_EQ(tmp.entries(), std::vector<std::string>{"DefaultBank"});
}

}  // namespace
}  // namespace orv::test
