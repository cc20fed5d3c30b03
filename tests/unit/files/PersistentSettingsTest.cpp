// Defaults, memos, file locations and the manual, through the editor object of an effect whose
// settings live in a private folder. Start-up with a stored bank, preset and MIDI settings is
// checked through the module in tests/host/UserSettingsHostTest.cpp.

#include <chrono>
#include <thread>

#include "platform/MessageBox.h"
#include "unit/files/FilesTestSupport.h"

namespace orv::test {
namespace {

class Settings : public FilesTest {
protected:
    std::string names[kPrograms];
    float values[kPrograms][kParams];
    void SetUp() override {
        FilesTest::SetUp();
        for (int p = 0; p < kPrograms; ++p) {
            names[p] = "Stored " + std::to_string(p);
            for (int i = 0; i < kParams; ++i) values[p][i] = patternValue(p + 5, i);
        }
    }
    std::string valuePath(const char* name) const { return settingsFolder() + "/" + name; }
    std::string readText(const char* name) const {
        const Bytes b = readFileBytes(valuePath(name));
        return std::string(b.begin(), b.end());
    }
};

TEST_F(Settings, StartUpWithADefaultBankAloneMakesProgramZeroCurrent) {
    storeValue("DefaultBank", reverseTaggedImage(taggedBank(names, values, 30)));  // other byte order
    makeEffect();
    EXPECT_EQ(effect->getCurrentProgramIndex(), 0);
    for (int p = 0; p < kPrograms; ++p) EXPECT_EQ(std::string(program(p).name), names[p]);
    EXPECT_EQ(effect->getParameter(17), values[0][17]);
}

TEST_F(Settings, StartUpIgnoresShortOrForeignValues) {
    Bytes foreign = taggedBank(names, values, 0);
    foreign[1] ^= 0x20;
    storeValue("DefaultBank", foreign);
    storeValue("DefaultPreset", Bytes{0x31, 0x47, 0x6F, 0x4F});  // four bytes: too short
    storeValue("DefaultMidi", {});
    makeEffect();
    EXPECT_STREQ(program(0).name, "Default");
    EXPECT_STREQ(program(23).name, "Bass drive");
    EXPECT_EQ(effect->controllerOfParameter(13), 999);
}

TEST_F(Settings, MissingOrUnusableSettingsFolderIsHarmless) {
    // Where nothing can be created, even by root: inside /proc, and below a plain file.
    const std::string blocked = config.path() + "/blocked";
    writeFileBytes(blocked, {1});
    for (const std::string& home : {std::string("/proc/self"), blocked}) {
        SCOPED_TRACE(home);
        setenv("XDG_CONFIG_HOME", home.c_str(), 1);
        makeEffect();
        EXPECT_STREQ(program(0).name, "Default");
        editor().storeDefaultBank();
        editor().storeMemoA();
        editor().recallMemoA();
        editor().clearDefaultPreset();
        editor().fileDialogs().setCurrentDirectory("/somewhere");
        effect.reset();  // saves the file locations, which fails quietly
        EXPECT_FALSE(fileExists(home + "/Orvaline"));
    }
    setenv("XDG_CONFIG_HOME", config.path().c_str(), 1);
    std::filesystem::create_directories(settingsFolder());  // empty folder
    makeEffect();
    EXPECT_STREQ(program(0).name, "Default");
}

TEST_F(Settings, StoredDefaultsAreTheImagesAndReachTheNextInstance) {
    makeEffect();
    effect->programBank().setName(0, "Mine");
    for (int i = 5; i <= 30; ++i) effect->programBank().setValue(0, i, patternValue(70, i));
    effect->programBank().setName(12, "Also mine");
    effect->assignController(20, 33);
    editor().storeDefaultBank();
    editor().storeDefaultPreset();
    editor().storeDefaultMidi();
    EXPECT_EQ(readFileBytes(valuePath("DefaultBank")), toBytes(editor().fileImages().bankImage()));
    EXPECT_EQ(readFileBytes(valuePath("DefaultPreset")), toBytes(editor().fileImages().presetImage()));
    EXPECT_EQ(readFileBytes(valuePath("DefaultMidi")), toBytes(editor().fileImages().midiSettingsImage()));

    makeEffect();  // a new instance
    EXPECT_STREQ(program(0).name, "Mine");
    EXPECT_STREQ(program(12).name, "Also mine");
    for (int i = 5; i <= 30; ++i) EXPECT_EQ(program(0).values[i], patternValue(70, i)) << i;
    EXPECT_EQ(effect->controllerOfParameter(20), 33);

    editor().clearDefaultBank();
    editor().clearDefaultPreset();
    editor().clearDefaultMidi();
    EXPECT_FALSE(fileExists(valuePath("DefaultBank")));
    EXPECT_FALSE(fileExists(valuePath("DefaultPreset")));
    EXPECT_FALSE(fileExists(valuePath("DefaultMidi")));
    makeEffect();
    EXPECT_STREQ(program(0).name, "Default");
    EXPECT_EQ(effect->controllerOfParameter(20), 999);
}

TEST_F(Settings, LoadDefaultOperationsWorkAfterStartUp) {
    makeEffect();
    storeValue("DefaultBank", taggedBank(names, values, 0));
    storeValue("DefaultMidi", taggedMidi({{5, controllerValue(1)}}));
    effect->selectProgram(6);
    editor().loadDefaultBank();
    EXPECT_EQ(effect->getCurrentProgramIndex(), 0);
    EXPECT_EQ(std::string(program(6).name), names[6]);
    effect->selectProgram(6);
    float preset[kParams];
    for (int i = 0; i < kParams; ++i) preset[i] = patternValue(2, i);
    storeValue("DefaultPreset", taggedPreset("Into six", preset));
    editor().loadDefaultPreset();
    EXPECT_STREQ(program(6).name, "Into six");  // into the current program
    editor().loadDefaultMidi();
    EXPECT_EQ(effect->controllerOfParameter(5), 1);
}

TEST_F(Settings, MemoStoreAndRecallRestoreValuesAndName) {
    makeEffect();
    effect->selectProgram(4);
    effect->programBank().setName(4, "Compare me");
    for (int i = 5; i <= 30; ++i) effect->setParameter(i, patternValue(8, i));
    const ProgramRecord memoA = program(4);
    editor().storeMemoA();
    for (int i = 5; i <= 30; ++i) effect->setParameter(i, patternValue(9, i));
    effect->renameCurrentProgram("Changed");
    const ProgramRecord memoB = program(4);
    editor().storeMemoB();
    for (int i = 5; i <= 30; ++i) effect->setParameter(i, 0.0f);
    effect->renameCurrentProgram("Third");

    editor().recallMemoA();
    EXPECT_STREQ(program(4).name, "Compare me");
    for (int i = 5; i <= 30; ++i) {
        EXPECT_EQ(program(4).values[i], memoA.values[i]) << i;
        EXPECT_EQ(effect->getParameter(i), memoA.values[i]) << i;
    }
    editor().recallMemoB();
    EXPECT_STREQ(program(4).name, "Changed");
    for (int i = 5; i <= 30; ++i) EXPECT_EQ(effect->getParameter(i), memoB.values[i]) << i;
    EXPECT_EQ(readFileBytes(valuePath("MemoA")).size(), 1553u);

    // A memo recalled into another program goes there, and a missing memo does nothing.
    effect->selectProgram(10);
    editor().recallMemoA();
    EXPECT_STREQ(program(10).name, "Compare me");
    std::filesystem::remove(valuePath("MemoB"));
    editor().recallMemoB();
    EXPECT_STREQ(program(10).name, "Compare me");
}

TEST_F(Settings, FileLocationsAreSavedWhenTheEditorGoesAndReadAtStartUp) {
    makeEffect();
    PresetFileDialogs& d = editor().fileDialogs();
    d.setCurrentDirectory("/home/ana/Música/órgão");
    d.setCurrentFileName(PresetFileDialogs::FileKind::Bank, "Live set.ovb");
    d.setCurrentFileName(PresetFileDialogs::FileKind::Preset, "Warm – soft.orv");
    d.setCurrentFileName(PresetFileDialogs::FileKind::MidiSettings, "pedals.ovm");
    effect.reset();
    EXPECT_EQ(readText("CurrDir"), "/home/ana/Música/órgão");
    EXPECT_EQ(readText("CurrBank"), "Live set.ovb");
    EXPECT_EQ(readText("CurrPreset"), "Warm – soft.orv");
    EXPECT_EQ(readText("CurrMidi"), "pedals.ovm");

    makeEffect();
    EXPECT_EQ(editor().fileDialogs().currentDirectory(), "/home/ana/Música/órgão");
    EXPECT_EQ(editor().fileDialogs().currentFileName(PresetFileDialogs::FileKind::Preset), "Warm – soft.orv");
    EXPECT_EQ(editor().fileDialogs().currentFileName(PresetFileDialogs::FileKind::Bank), "Live set.ovb");
    EXPECT_EQ(editor().fileDialogs().currentFileName(PresetFileDialogs::FileKind::MidiSettings), "pedals.ovm");
}

TEST_F(Settings, FileLocationsKeepAtMost255Characters) {
    std::string longDir = "/";
    for (int i = 0; i < 299; ++i) longDir += "\xC3\xA9";  // é: 300 characters in all
    makeEffect();
    editor().fileDialogs().setCurrentDirectory(longDir);
    editor().saveFileLocations();
    const std::string stored = readText("CurrDir");
    EXPECT_EQ(stored.size(), 1u + 254 * 2);  // 255 characters, none cut in half
    EXPECT_EQ(stored, longDir.substr(0, stored.size()));

    storeValue("CurrPreset", Bytes(400, 'p'));  // written by someone else, longer
    editor().loadFileLocations();
    EXPECT_EQ(editor().fileDialogs().currentFileName(PresetFileDialogs::FileKind::Preset), std::string(255, 'p'));
}

// ---- the user manual -------------------------------------------------------------------------

class RecordingMessageBox : public MessageBox {
public:
    void show(const std::string& title, const std::string& text) override { shown.emplace_back(title, text); }
    std::vector<std::pair<std::string, std::string>> shown;
};

class Manual : public Settings {
protected:
    void SetUp() override {
        Settings::SetUp();
        bin = scratch.path() + "/bin";
        std::filesystem::create_directories(bin);
        opened = scratch.path() + "/opened";
        manual = scratch.path() + "/manual.html";
        writeFileBytes(manual, Bytes{'<', 'p', '>'});
        const char* path = std::getenv("PATH");
        oldPath = path != nullptr ? path : "";
        setenv("PATH", (bin + ":/usr/bin:/bin").c_str(), 1);
        makeEffect();
        editor().settings().setMessageBox(&box);
    }
    void TearDown() override {
        setenv("PATH", oldPath.c_str(), 1);
        Settings::TearDown();
    }
    void script(const std::string& name, const std::string& body) {
        const std::string path = bin + "/" + name;
        const std::string text = "#!/bin/sh\n" + body + "\n";
        writeFileBytes(path, Bytes(text.begin(), text.end()));
        chmod(path.c_str(), 0755);
    }
    // xdg-mime that knows one type and answers `application` as its default (empty: none).
    void fakeMime(const std::string& application) {
        script("xdg-mime", "case \"$2\" in\n filetype) echo text/html ;;\n default) echo '" + application +
                               "' ;;\nesac\nexit 0");
    }
    void fakeOpen() { script("xdg-open", "printf '%s' \"$1\" > '" + opened + "'"); }
    void setManualPath(const std::string& path) { storeValue("ManualPath", Bytes(path.begin(), path.end())); }
    // Waits for the fake xdg-open, which runs on its own, to have recorded its argument.
    std::string openedPath() {
        for (int i = 0; i < 500 && !fileExists(opened); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        const Bytes b = readFileBytes(opened);
        return std::string(b.begin(), b.end());
    }

    TempFolder scratch;
    std::string bin, opened, manual, oldPath;
    RecordingMessageBox box;
};

TEST_F(Manual, OpensTheStoredPathWithXdgOpen) {
    fakeMime("viewer.desktop");
    fakeOpen();
    setManualPath(manual);
    editor().openManual();
    EXPECT_EQ(openedPath(), manual);
    EXPECT_TRUE(box.shown.empty());
}

TEST_F(Manual, NoAssociatedApplicationShowsTheReaderMessage) {
    fakeMime("");
    fakeOpen();
    setManualPath(manual);
    editor().openManual();
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_EQ(box.shown[0].first, "Could not open manual file");
    EXPECT_EQ(box.shown[0].second, "Make sure Acrobat Reader is installed");
    EXPECT_FALSE(fileExists(opened));
}

TEST_F(Manual, OtherFailuresShowTheGeneralMessage) {
    fakeMime("viewer.desktop");
    fakeOpen();
    editor().openManual();  // no ManualPath stored: an empty path
    setManualPath(scratch.path() + "/no-such-manual.html");
    editor().openManual();
    std::filesystem::remove(bin + "/xdg-open");
    setManualPath(manual);
    setenv("PATH", bin.c_str(), 1);  // and no xdg-open anywhere
    editor().openManual();
    ASSERT_EQ(box.shown.size(), 3u);
    for (const auto& [title, text] : box.shown) {
        EXPECT_EQ(title, "");
        EXPECT_EQ(text, "Could not open user manual");
    }
    EXPECT_FALSE(fileExists(opened));
}

TEST_F(Manual, WithoutAWindowTheMessageGoesToTheErrorStream) {
    fakeMime("");
    setManualPath(manual);
    editor().settings().setMessageBox(nullptr);
    testing::internal::CaptureStderr();
    editor().openManual();
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("Could not open manual file"), std::string::npos) << err;
    EXPECT_NE(err.find("Make sure Acrobat Reader is installed"), std::string::npos) << err;
}

}  // namespace
}  // namespace orv::test
