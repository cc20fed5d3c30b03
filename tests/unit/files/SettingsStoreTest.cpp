// The per-user settings store: where it lives, values written whole and read back, missing,
// empty and unwritable folders, and several writers at once.

#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "platform/SettingsStore.h"
#include "unit/files/FilesTestSupport.h"

namespace orv::test {
namespace {

TEST(SettingsStoreFolder, FollowsXdgConfigHomeElseHomeConfig) {
    {
        ScopedEnv xdg("XDG_CONFIG_HOME", "/somewhere/cfg");
        EXPECT_EQ(SettingsStore::defaultFolder(), "/somewhere/cfg/Orvaline/ORVGYR2");
    }
    ScopedEnv home("HOME", "/home/tester");
    {
        ScopedEnv xdg("XDG_CONFIG_HOME", nullptr);
        EXPECT_EQ(SettingsStore::defaultFolder(), "/home/tester/.config/Orvaline/ORVGYR2");
    }
    {
        ScopedEnv xdg("XDG_CONFIG_HOME", "");  // empty: not set
        EXPECT_EQ(SettingsStore::defaultFolder(), "/home/tester/.config/Orvaline/ORVGYR2");
    }
    {
        ScopedEnv xdg("XDG_CONFIG_HOME", "relative/cfg");  // only absolute paths count
        EXPECT_EQ(SettingsStore::defaultFolder(), "/home/tester/.config/Orvaline/ORVGYR2");
    }
    {
        ScopedEnv xdg("XDG_CONFIG_HOME", nullptr);
        ScopedEnv noHome("HOME", nullptr);
        const passwd* me = getpwuid(getuid());
        ASSERT_NE(me, nullptr);
        EXPECT_EQ(SettingsStore::defaultFolder(), std::string(me->pw_dir) + "/.config/Orvaline/ORVGYR2");
    }
}

TEST(SettingsStoreValues, BinaryAndTextValuesAreStoredAsTheirBytes) {
    TempFolder tmp;
    const std::string folder = tmp.path() + "/a/b/Orvaline/ORVGYR2";  // made on the first write
    SettingsStore store(folder);
    Bytes image(1553);
    for (size_t i = 0; i < image.size(); ++i) image[i] = static_cast<uint8_t>(i * 37 + 1);
    image[100] = 0;  // binary values may hold zero bytes
    ASSERT_TRUE(store.setBinary("DefaultPreset", image.data(), image.size()));
    EXPECT_EQ(readFileBytes(folder + "/DefaultPreset"), image);
    struct stat st;
    ASSERT_EQ(stat(folder.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);

    const std::string path = "/home/jürgen/Presets für Orgel";
    ASSERT_TRUE(store.setString("CurrDir", path));
    const Bytes onDisk = readFileBytes(folder + "/CurrDir");
    EXPECT_EQ(std::string(onDisk.begin(), onDisk.end()), path);  // UTF-8, no terminator

    std::vector<unsigned char> back;
    ASSERT_TRUE(store.getBinary("DefaultPreset", back));
    EXPECT_EQ(Bytes(back.begin(), back.end()), image);
    std::string text;
    ASSERT_TRUE(store.getString("CurrDir", text));
    EXPECT_EQ(text, path);

    // A second store on the same folder (another instance) sees the values; replacing one
    // leaves no temporary file behind.
    SettingsStore other(folder);
    ASSERT_TRUE(other.setString("CurrDir", "/tmp"));
    ASSERT_TRUE(store.getString("CurrDir", text));
    EXPECT_EQ(text, "/tmp");
    EXPECT_EQ(tmp.entries("a/b/Orvaline/ORVGYR2"), (std::vector<std::string>{"CurrDir", "DefaultPreset"}));
}

TEST(SettingsStoreValues, RemoveAndMissingValues) {
    TempFolder tmp;
    SettingsStore store(tmp.path());
    std::vector<unsigned char> data{1, 2, 3};
    std::string text = "unchanged";
    EXPECT_FALSE(store.getBinary("MemoA", data));
    EXPECT_EQ(data.size(), 3u);  // a failed read leaves the buffer alone
    EXPECT_FALSE(store.getString("CurrDir", text));
    EXPECT_EQ(text, "unchanged");
    EXPECT_TRUE(store.remove("MemoA"));  // nothing to delete is fine
    ASSERT_TRUE(store.setBinary("MemoA", data.data(), data.size()));
    EXPECT_TRUE(store.remove("MemoA"));
    EXPECT_FALSE(fileExists(tmp.path() + "/MemoA"));
    // An empty value exists and is empty.
    ASSERT_TRUE(store.setString("CurrBank", ""));
    ASSERT_TRUE(store.getString("CurrBank", text));
    EXPECT_EQ(text, "");
}

TEST(SettingsStoreValues, NamesThatAreNotPlainFileNamesAreRefused) {
    TempFolder tmp;
    SettingsStore store(tmp.path() + "/store");
    const uint8_t byte = 1;
    for (const char* name : {"", "../escape", "a/b", ".hidden"}) EXPECT_FALSE(store.setBinary(name, &byte, 1)) << name;
    EXPECT_FALSE(store.setBinary(nullptr, &byte, 1));
    EXPECT_FALSE(fileExists(tmp.path() + "/escape"));
}

TEST(SettingsStoreFailures, MissingEmptyOrUnwritableFoldersAreHarmless) {
    TempFolder tmp;
    std::vector<unsigned char> data;
    // Missing and empty folders: nothing to read.
    EXPECT_FALSE(SettingsStore(tmp.path() + "/missing").getBinary("DefaultBank", data));
    EXPECT_FALSE(fileExists(tmp.path() + "/missing"));  // reading creates nothing
    EXPECT_FALSE(SettingsStore(tmp.path()).getBinary("DefaultBank", data));
    // No folder known at all.
    SettingsStore nowhere{std::string()};
    EXPECT_FALSE(nowhere.setString("CurrDir", "x"));
    EXPECT_FALSE(nowhere.getBinary("CurrDir", data));
    // A file where the folder should be, and a place where nothing can be created (even by
    // root): writes fail and change nothing.
    writeFileBytes(tmp.path() + "/Orvaline", {1});
    SettingsStore blocked(tmp.path() + "/Orvaline/ORVGYR2");
    EXPECT_FALSE(blocked.setString("CurrDir", "x"));
    EXPECT_EQ(readFileBytes(tmp.path() + "/Orvaline"), Bytes{1});
    SettingsStore inProc("/proc/self/Orvaline/ORVGYR2");
    EXPECT_FALSE(inProc.setString("CurrDir", "x"));
    std::string text;
    EXPECT_FALSE(inProc.getString("CurrDir", text));
    // A value that is a folder, or too large to be a value, is not read.
    std::filesystem::create_directories(tmp.path() + "/DefaultMidi");
    EXPECT_FALSE(SettingsStore(tmp.path()).getBinary("DefaultMidi", data));
    writeFileBytes(tmp.path() + "/MemoB", Bytes(SettingsStore::kMaxValueBytes + 1, 7));
    EXPECT_FALSE(SettingsStore(tmp.path()).getBinary("MemoB", data));
}

TEST(SettingsStoreFailures, ReadOnlyFolderKeepsItsValues) {
    TempFolder tmp;
    ASSERT_TRUE(SettingsStore(tmp.path()).setString("CurrDir", "/old"));
    chmod((tmp.path() + "/CurrDir").c_str(), 0644);
    chmod(tmp.path().c_str(), 0555);
    // Root writes into read-only folders, so the store is tried by an unprivileged child then.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        constexpr uid_t kNobody = 65534;
        if (geteuid() == 0 && (setgid(kNobody) != 0 || setuid(kNobody) != 0)) _exit(10);
        SettingsStore store(tmp.path());
        std::string text;
        int failures = 0;
        failures += store.setString("CurrDir", "/new") ? 1 : 0;  // must fail
        failures += store.setString("CurrBank", "x") ? 1 : 0;    // must fail
        failures += store.getString("CurrDir", text) && text == "/old" ? 0 : 1;
        _exit(failures);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    chmod(tmp.path().c_str(), 0700);
    EXPECT_EQ(tmp.entries(), std::vector<std::string>{"CurrDir"});
}

TEST(SettingsStoreConcurrency, WritersAtOnceNeverLeaveATornValue) {
    TempFolder tmp;
    constexpr size_t kSize = 72617;  // a bank image
    constexpr int kWrites = 60;
    std::atomic<bool> stop{false};
    std::atomic<int> torn{0};
    std::atomic<int> reads{0};
    std::thread reader([&] {
        SettingsStore store(tmp.path());
        std::vector<unsigned char> data;
        // Reads while the writers run, and at least once (so the check below sees a value even
        // when the scheduler runs the writers first).
        while (!stop.load() || reads.load() == 0) {
            if (!store.getBinary("DefaultBank", data)) continue;
            ++reads;
            bool whole = data.size() == kSize;
            for (size_t i = 1; whole && i < data.size(); ++i) whole = data[i] == data[0];
            if (!whole) ++torn;
        }
    });
    std::vector<std::thread> writers;
    std::atomic<int> failed{0};
    for (int w = 0; w < 2; ++w) {
        writers.emplace_back([&, w] {
            SettingsStore store(tmp.path());  // each instance has its own store
            for (int n = 0; n < kWrites; ++n) {
                // Alternating contents, so that every write really replaces the file.
                const std::vector<unsigned char> value(kSize, static_cast<unsigned char>('A' + 2 * w + n % 2));
                if (!store.setBinary("DefaultBank", value.data(), value.size())) ++failed;
            }
        });
    }
    for (std::thread& t : writers) t.join();
    stop = true;
    reader.join();
    EXPECT_EQ(failed.load(), 0);
    EXPECT_EQ(torn.load(), 0);
    const Bytes last = readFileBytes(tmp.path() + "/DefaultBank");
    ASSERT_EQ(last.size(), kSize);
    EXPECT_EQ(tmp.entries(), std::vector<std::string>{"DefaultBank"});
}

TEST(SettingsStoreText, FirstCharactersCutsBetweenCharacters) {
    EXPECT_EQ(SettingsStore::firstCharacters(std::string(300, 'a'), 255), std::string(255, 'a'));
    EXPECT_EQ(SettingsStore::firstCharacters("short", 255), "short");
    std::string umlauts;
    for (int i = 0; i < 300; ++i) umlauts += "\xC3\xBC";  // ü, two bytes each
    const std::string cut = SettingsStore::firstCharacters(umlauts, 255);
    EXPECT_EQ(cut.size(), 510u);
    const std::string mixed = "ab\xF0\x9F\x8E\xB9" "cd";  // a four-byte character in the middle
    EXPECT_EQ(SettingsStore::firstCharacters(mixed, 3), "ab\xF0\x9F\x8E\xB9");
    EXPECT_EQ(SettingsStore::firstCharacters(mixed, 2), "ab");
    EXPECT_EQ(SettingsStore::firstCharacters(mixed, 0), "");
}

}  // namespace
}  // namespace orv::test
