// Defaults, memos, file locations and the manual, through the editor object of an effect whose
// settings live in a private folder. Loading stored defaults (at start-up) is checked through the
// module in tests/host/UserSettingsHostTest.cpp.

#include <chrono>
#include <thread>

#include "platform/MessageBox.h"
#include "unit/files/FilesTestSupport.h"

namespace orv::test {
namespace {

class Settings : public FilesTest {};

TEST_F(Settings, MissingOrUnusableSettingsFolderIsHarmless)
{
    // Where nothing can be created, even by root: inside /proc, and below a plain file.
    const std::string blocked = config.path() + "/blocked";
    writeFile(blocked, Bytes{1});
    for (const std::string& home : {std::string("/proc/self"), blocked}) {
        SCOPED_TRACE(home);
        ScopedEnv xdg("XDG_CONFIG_HOME", home);
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
}

TEST_F(Settings, StoredDefaultsAreTheImagesAndCanBeCleared)
{
    makeEffect();
    effect->programBank().setName(12, "Mine");
    effect->assignController(20, 33);
    editor().storeDefaultBank();
    editor().storeDefaultPreset();
    editor().storeDefaultMidi();
    EXPECT_EQ(readFileBytes(valuePath("DefaultBank")), editor().fileImages().bankImage());
    EXPECT_EQ(readFileBytes(valuePath("DefaultPreset")), editor().fileImages().presetImage());
    EXPECT_EQ(readFileBytes(valuePath("DefaultMidi")), editor().fileImages().midiSettingsImage());

    editor().clearDefaultBank();
    editor().clearDefaultPreset();
    editor().clearDefaultMidi();
    for (const char* name : {"DefaultBank", "DefaultPreset", "DefaultMidi"}) EXPECT_FALSE(fileExists(valuePath(name)));
}

TEST_F(Settings, MemoStoreAndRecallRestoreValuesAndName)
{
    makeEffect();
    effect->selectProgram(4);
    const auto set = [&](const char* name, float v) {
        effect->renameCurrentProgram(name);
        for (int i = 5; i <= 30; ++i) effect->setParameter(i, v * static_cast<float>(i) / 32.0f);
    };
    set("Compare me", 0.5f);
    editor().storeMemoA();
    set("Changed", 0.75f);
    editor().storeMemoB();
    set("Third", 1.0f);
    EXPECT_EQ(readFileBytes(valuePath("MemoA")).size(), 1553u);

    editor().recallMemoA();
    EXPECT_STREQ(program(4).name, "Compare me");
    for (int i = 5; i <= 30; ++i) EXPECT_EQ(effect->getParameter(i), 0.5f * static_cast<float>(i) / 32.0f) << i;
    editor().recallMemoB();
    EXPECT_STREQ(program(4).name, "Changed");
    for (int i = 5; i <= 30; ++i) EXPECT_EQ(program(4).values[i], 0.75f * static_cast<float>(i) / 32.0f) << i;
    // A memo recalled into another program goes there, and a missing memo does nothing.
    effect->selectProgram(10);
    editor().recallMemoA();
    EXPECT_STREQ(program(10).name, "Compare me");
    std::filesystem::remove(valuePath("MemoB"));
    editor().recallMemoB();
    EXPECT_STREQ(program(10).name, "Compare me");
}

TEST_F(Settings, FileLocationsAreSavedWhenTheEditorGoesAndReadAtStartUp)
{
    std::string longName;  // é and a four-byte character in turn: 300 characters, 255 are kept
    for (int i = 0; i < 150; ++i) longName += "\xC3\xA9\xF0\x9F\x8E\xB9";
    makeEffect();
    PresetFileDialogs& d = editor().fileDialogs();
    d.setCurrentDirectory("/home/ana/Música/órgão");
    d.setCurrentFileName(PresetFileDialogs::FileKind::Bank, "Live set.ovb");
    d.setCurrentFileName(PresetFileDialogs::FileKind::Preset, "Warm – soft.orv");
    d.setCurrentFileName(PresetFileDialogs::FileKind::MidiSettings, longName);
    effect.reset();
    EXPECT_EQ(readFile(valuePath("CurrDir")), "/home/ana/Música/órgão");
    EXPECT_EQ(readFile(valuePath("CurrBank")), "Live set.ovb");
    EXPECT_EQ(readFile(valuePath("CurrPreset")), "Warm – soft.orv");
    EXPECT_EQ(readFile(valuePath("CurrMidi")), longName.substr(0, 127 * 6 + 2));  // no character cut in half

    storeValue("CurrBank", Bytes(400, 'p'));  // written by someone else, longer
    makeEffect();
    EXPECT_EQ(editor().fileDialogs().currentDirectory(), "/home/ana/Música/órgão");
    EXPECT_EQ(editor().fileDialogs().currentFileName(PresetFileDialogs::FileKind::Preset), "Warm – soft.orv");
    EXPECT_EQ(editor().fileDialogs().currentFileName(PresetFileDialogs::FileKind::Bank), std::string(255, 'p'));
}

// ---- the user manual -------------------------------------------------------------------------

struct RecordingMessageBox : MessageBox {
    void show(const std::string& title, const std::string& text) override { shown.emplace_back(title + "|" + text); }
    std::vector<std::string> shown;
};

// xdg-mime and xdg-open replaced by scripts in a private PATH: the first knows one type and
// answers `application` as its default (empty: none), the second records its argument.
class Manual : public Settings {
protected:
    void SetUp() override
    {
        makeEffect();
        editor().settings().setMessageBox(&box);
        script("xdg-open", "printf '%s' \"$1\" > '" + opened + "'");
        storeValue("ManualPath", Bytes(manual.begin(), manual.end()));
        writeFile(manual, std::string("<p>"));
    }
    void script(const std::string& name, const std::string& body)
    {
        writeFile(bin.file(name), "#!/bin/sh\n" + body + "\n", true);
    }
    void mimeDefault(const std::string& application)
    {
        script("xdg-mime",
               "case \"$2\" in\n filetype) echo text/html ;;\n default) echo '" + application + "' ;;\nesac");
    }
    // Waits for the fake xdg-open, which runs on its own, to have recorded its argument.
    std::string openedPath()
    {
        for (int i = 0; i < 500 && !fileExists(opened); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        return readFile(opened);
    }

    TempFolder bin, scratch;
    ScopedEnv path{"PATH", bin.path() + ":/usr/bin:/bin"};
    std::string opened = scratch.file("opened"), manual = scratch.file("manual.html");
    RecordingMessageBox box;
};

TEST_F(Manual, OpensTheStoredPathWithXdgOpen)
{
    mimeDefault("viewer.desktop");
    editor().openManual();
    EXPECT_EQ(openedPath(), manual);
    EXPECT_TRUE(box.shown.empty());
}

TEST_F(Manual, FailuresShowTheirMessage)
{
    mimeDefault("");  // no application for the type
    editor().openManual();
    mimeDefault("viewer.desktop");
    storeValue("ManualPath", {});
    editor().openManual();
    const std::string missing = scratch.file("no-such-manual.html");
    storeValue("ManualPath", Bytes(missing.begin(), missing.end()));
    editor().openManual();
    storeValue("ManualPath", Bytes(manual.begin(), manual.end()));
    ScopedEnv noOpen("PATH", bin.path());
    std::filesystem::remove(bin.file("xdg-open"));
    editor().openManual();
    EXPECT_EQ(box.shown,
              (std::vector<std::string>{"Could not open manual file|Make sure Acrobat Reader is installed",
                                        "|Could not open user manual", "|Could not open user manual",
                                        "|Could not open user manual"}));
    EXPECT_FALSE(fileExists(opened));

    // Without a window the message goes to the error stream.
    mimeDefault("");
    editor().settings().setMessageBox(nullptr);
    testing::internal::CaptureStderr();
    editor().openManual();
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("Could not open manual file"), std::string::npos) << err;
    EXPECT_NE(err.find("Make sure Acrobat Reader is installed"), std::string::npos) << err;
}

}  // namespace
}  // namespace orv::test
