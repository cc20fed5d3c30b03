// The panel's file dialogs, answered by a scripted dialog program: titles, filters, where they
// open, what the chosen file does, and the rules for cancel, several files and no program.

#include <chrono>
#include <thread>

#include "toolkit/CFrame.h"
#include "toolkit/CNewFileSelector.h"
#include "unit/files/FilesTestSupport.h"

namespace orv::test {
namespace {

using Kind = PresetFileDialogs::FileKind;

class FileDialogs : public FilesTest {
protected:
    void SetUp() override {
        FilesTest::SetUp();
        makeEffect();
        frame = new CFrame(CRect(0, 0, 448, 696), nullptr, nullptr);
        dialogs = std::make_unique<PresetFileDialogs>(editor().fileImages(), [this] { return frame; });
        script = scratch.path() + "/dialog.sh";
        argsFile = scratch.path() + "/args";
        files = scratch.path() + "/files";
        std::filesystem::create_directories(files);
    }
    void TearDown() override {
        dialogs.reset();
        if (frame != nullptr) frame->forget();
        unsetenv(CNewFileSelector::kCommandVariable);
        FilesTest::TearDown();
    }
    // The dialog program: records its arguments, prints the given lines and exits with status.
    void answer(const std::vector<std::string>& lines, int status = 0) {
        std::string s = "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > '" + argsFile + "'\n";
        for (const std::string& l : lines) s += "printf '%s\\n' '" + l + "'\n";
        s += "exit " + std::to_string(status) + "\n";
        writeFileBytes(script, Bytes(s.begin(), s.end()));
        chmod(script.c_str(), 0755);
        setenv(CNewFileSelector::kCommandVariable, script.c_str(), 1);
        std::filesystem::remove(argsFile);
    }
    // Idles the frame until the dialog has answered and its answer was handled (at most 5 s).
    void finish() {
        for (int i = 0; i < 500 && (frame->inModalSession() || !fileExists(argsFile)); ++i) {
            frame->idle();
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        ASSERT_FALSE(frame->inModalSession()) << "the dialog did not answer";
    }
    std::vector<std::string> args() const {
        const Bytes b = readFileBytes(argsFile);
        std::vector<std::string> out;
        std::string line;
        for (uint8_t c : b) {
            if (c == '\n') {
                out.push_back(line);
                line.clear();
            } else {
                line += static_cast<char>(c);
            }
        }
        return out;
    }
    bool hasArg(const std::string& a) const {
        const std::vector<std::string> v = args();
        return std::find(v.begin(), v.end(), a) != v.end();
    }

    TempFolder scratch;
    CFrame* frame = nullptr;
    std::unique_ptr<PresetFileDialogs> dialogs;
    std::string script, argsFile, files;
};

TEST_F(FileDialogs, EachDialogHasItsTitleFilterAndExtension) {
    struct Case {
        std::function<bool()> open;
        const char* title;
        const char* filter;
        bool save;
    };
    const Case cases[] = {
        {[&] { return dialogs->loadPresetDialog(false); }, "Load preset", "Orv Preset (*.orv) | *.orv", false},
        {[&] { return dialogs->loadPresetDialog(true); }, "Load preset (endian-reversed)", "Orv Preset (*.orv) | *.orv", false},
        {[&] { return dialogs->savePresetDialog(); }, "Save preset", "Orv Preset (*.orv) | *.orv", true},
        {[&] { return dialogs->loadBankDialog(false); }, "Load bank", "Orv Bank (*.ovb) | *.ovb", false},
        {[&] { return dialogs->loadBankDialog(true); }, "Load bank (endian-reversed)", "Orv Bank (*.ovb) | *.ovb", false},
        {[&] { return dialogs->saveBankDialog(); }, "Save bank", "Orv Bank (*.ovb) | *.ovb", true},
        {[&] { return dialogs->loadMidiSettingsDialog(false); }, "Load MIDI settings",
         "Orv MIDI Settings (*.ovm) | *.ovm", false},
        {[&] { return dialogs->loadMidiSettingsDialog(true); }, "Load MIDI settings (endian-reversed)",
         "Orv MIDI Settings (*.ovm) | *.ovm", false},
        {[&] { return dialogs->saveMidiSettingsDialog(); }, "Save midi settings as", "Orv MIDI Settings (*.ovm) | *.ovm",
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        answer({}, 1);  // cancelled
        ASSERT_TRUE(c.open());
        finish();
        EXPECT_TRUE(hasArg(std::string("--title=") + c.title));
        EXPECT_TRUE(hasArg(std::string("--file-filter=") + c.filter));
        EXPECT_EQ(hasArg("--save"), c.save);
    }
}

TEST_F(FileDialogs, SavingWritesTheImageAndRemembersWhereAndUnderWhichName) {
    answer({files + "/My bank.ovb"});
    ASSERT_TRUE(dialogs->saveBankDialog());
    finish();
    EXPECT_EQ(readFileBytes(files + "/My bank.ovb"), toBytes(editor().fileImages().bankImage()));
    EXPECT_EQ(dialogs->currentDirectory(), files);
    EXPECT_EQ(dialogs->currentFileName(Kind::Bank), "My bank.ovb");

    // The next save of a bank proposes that name there; other kinds open in the same folder with
    // their own (still empty) name.
    answer({files + "/Lead.orv"});
    ASSERT_TRUE(dialogs->savePresetDialog());
    finish();
    EXPECT_TRUE(hasArg("--filename=" + files + "/"));
    EXPECT_EQ(readFileBytes(files + "/Lead.orv").size(), 1553u);
    answer({files + "/pedals"});  // the dialog adds the extension when the name has none
    ASSERT_TRUE(dialogs->saveMidiSettingsDialog());
    finish();
    EXPECT_EQ(readFileBytes(files + "/pedals.ovm").size(), 1385u);
    EXPECT_EQ(dialogs->currentFileName(Kind::MidiSettings), "pedals.ovm");
    answer({}, 1);
    ASSERT_TRUE(dialogs->saveBankDialog());
    finish();
    EXPECT_TRUE(hasArg("--filename=" + files + "/My bank.ovb"));
    answer({}, 1);
    ASSERT_TRUE(dialogs->loadBankDialog(false));
    finish();
    EXPECT_TRUE(hasArg("--filename=" + files + "/"));
}

TEST_F(FileDialogs, LoadingAChosenFileLoadsItAndRemembersIt) {
    effect->selectProgram(7);
    float values[kParams];
    for (int i = 0; i < kParams; ++i) values[i] = patternValue(3, i);
    writeFileBytes(files + "/Found.orv", taggedPreset("From a file", values));
    answer({files + "/Found.orv"});
    ASSERT_TRUE(dialogs->loadPresetDialog(false));
    finish();
    EXPECT_STREQ(program(7).name, "From a file");
    EXPECT_EQ(program(7).values[22], values[22]);
    EXPECT_EQ(dialogs->currentDirectory(), files);
    EXPECT_EQ(dialogs->currentFileName(Kind::Preset), "Found.orv");

    // The same file read with the reversed choice loads nothing useful.
    effect->programBank().setName(7, "Kept");
    answer({files + "/Found.orv"});
    ASSERT_TRUE(dialogs->loadPresetDialog(true));
    finish();
    EXPECT_STREQ(program(7).name, "Kept");
}

TEST_F(FileDialogs, OnlyExactlyOneChosenFileCounts) {
    float values[kParams];
    for (int i = 0; i < kParams; ++i) values[i] = 0.5f;
    writeFileBytes(files + "/a.orv", taggedPreset("A", values));
    writeFileBytes(files + "/b.orv", taggedPreset("B", values));
    dialogs->setCurrentDirectory("/start");
    const std::string before = program(0).name;
    answer({files + "/a.orv", files + "/b.orv"});
    ASSERT_TRUE(dialogs->loadPresetDialog(false));
    finish();
    EXPECT_EQ(std::string(program(0).name), before);
    EXPECT_EQ(dialogs->currentDirectory(), "/start");

    answer({}, 1);  // cancel
    ASSERT_TRUE(dialogs->loadPresetDialog(false));
    finish();
    EXPECT_EQ(std::string(program(0).name), before);
    EXPECT_EQ(dialogs->currentDirectory(), "/start");
    EXPECT_TRUE(hasArg("--filename=/start/"));
}

TEST_F(FileDialogs, UnreadableOrShortFilesLoadNothing) {
    const ProgramRecord before = program(0);
    answer({files + "/missing.orv"});
    ASSERT_TRUE(dialogs->loadPresetDialog(false));
    finish();
    writeFileBytes(files + "/short.orv", Bytes{0x31, 0x47, 0x6F, 0x4F});
    answer({files + "/short.orv"});
    ASSERT_TRUE(dialogs->loadPresetDialog(false));
    finish();
    EXPECT_STREQ(program(0).name, before.name);
    for (int i = 0; i < kParams; ++i) EXPECT_EQ(program(0).values[i], before.values[i]) << i;
    EXPECT_EQ(dialogs->currentFileName(Kind::Preset), "short.orv");  // the choice is remembered
}

TEST_F(FileDialogs, WithoutAFrameOrADialogProgramNothingHappens) {
    answer({files + "/x.orv"});
    CFrame* kept = frame;
    frame = nullptr;  // the editor's window is closed
    EXPECT_FALSE(dialogs->loadPresetDialog(false));
    EXPECT_FALSE(dialogs->saveBankDialog());
    frame = kept;
    EXPECT_FALSE(fileExists(argsFile));

    // No zenity, no kdialog, no override: the operations do nothing, said once per process.
    unsetenv(CNewFileSelector::kCommandVariable);
    const char* path = std::getenv("PATH");
    const std::string oldPath = path != nullptr ? path : "";
    setenv("PATH", scratch.path().c_str(), 1);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(dialogs->loadBankDialog(false));
    EXPECT_FALSE(dialogs->saveMidiSettingsDialog());
    const std::string err = testing::internal::GetCapturedStderr();
    setenv("PATH", oldPath.c_str(), 1);
    EXPECT_FALSE(frame->inModalSession());
    const size_t first = err.find("zenity");
    EXPECT_NE(first, std::string::npos) << err;
    EXPECT_EQ(err.find("zenity", first + 1), std::string::npos) << err;
    // The effect goes on as before.
    EXPECT_EQ(toBytes(editor().fileImages().presetImage()).size(), 1553u);
}

TEST_F(FileDialogs, DialogsStartInTheWorkingFolder) {
    char* cwd = getcwd(nullptr, 0);
    ASSERT_NE(cwd, nullptr);
    EXPECT_EQ(dialogs->currentDirectory(), cwd);
    std::free(cwd);
}

TEST_F(FileDialogs, PathsSplitAtTheLastSeparator) {
    std::string dir, name;
    PresetFileDialogs::splitPath("/home/u/presets/Warm.orv", dir, name);
    EXPECT_EQ(dir, "/home/u/presets");
    EXPECT_EQ(name, "Warm.orv");
    PresetFileDialogs::splitPath("/Root.ovb", dir, name);
    EXPECT_EQ(dir, "/");
    EXPECT_EQ(name, "Root.ovb");
    PresetFileDialogs::splitPath("bare.ovm", dir, name);
    EXPECT_EQ(dir, "");
    EXPECT_EQ(name, "bare.ovm");
}

TEST_F(FileDialogs, EditorOperationsNeedTheOpenWindow) {
    answer({files + "/x.ovb"});
    // The editor object exists with the effect, but its window (and frame) does not yet.
    EXPECT_FALSE(editor().saveBankDialog());
    EXPECT_FALSE(editor().loadPresetDialog(false));
    EXPECT_FALSE(fileExists(files + "/x.ovb"));
}

}  // namespace
}  // namespace orv::test
