// The panel's file dialogs, answered by a scripted dialog program: titles, filters, where they
// open, what the chosen file does, and the rules for cancel, several files and no program.

#include <array>
#include <chrono>
#include <thread>
#include <tuple>

#include "params/FactoryPrograms.h"
#include "toolkit/CFrame.h"
#include "toolkit/CNewFileSelector.h"
#include "unit/files/FilesTestSupport.h"

namespace orv::test {
namespace {

using Kind = PresetFileDialogs::FileKind;

class FileDialogs : public FilesTest {
protected:
    void SetUp() override
    {
        makeEffect();
        frame = new CFrame(CRect(0, 0, 448, 696), nullptr, nullptr);
        dialogs = std::make_unique<PresetFileDialogs>(editor().fileImages(), [this] { return frame; });
        files = scratch.path() + "/files";
        std::filesystem::create_directories(files);
    }
    void TearDown() override
    {
        dialogs.reset();
        if (frame != nullptr) frame->forget();
        unsetenv(CNewFileSelector::kCommandVariable);
        FilesTest::TearDown();
    }
    // Opens a dialog whose program records its arguments, prints the given lines (the chosen
    // files) and exits with status; idles the frame until the answer was handled.
    void run(const std::function<bool()>& open, const std::vector<std::string>& lines, int status = 0)
    {
        std::string s = "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > '" + argsFile() + "'\n";
        for (const std::string& l : lines) s += "printf '%s\\n' '" + l + "'\n";
        s += "exit " + std::to_string(status) + "\n";
        const std::string script = scratch.file("dialog.sh");
        writeFile(script, s, true);
        setenv(CNewFileSelector::kCommandVariable, script.c_str(), 1);
        std::filesystem::remove(argsFile());
        ASSERT_TRUE(open());
        for (int i = 0; i < 500 && (frame->inModalSession() || !fileExists(argsFile())); ++i) {
            frame->idle();
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        ASSERT_FALSE(frame->inModalSession()) << "the dialog did not answer";
    }
    std::string argsFile() const { return scratch.file("args"); }
    bool hasArg(const std::string& a) const
    {
        return ("\n" + readFile(argsFile())).find("\n" + a + "\n") != std::string::npos;
    }

    TempFolder scratch;
    CFrame* frame = nullptr;
    std::unique_ptr<PresetFileDialogs> dialogs;
    std::string files;
};

TEST_F(FileDialogs, EachDialogHasItsTitleFilterAndExtension)
{
    const std::string preset = "Orv Preset (*.orv) | *.orv", bank = "Orv Bank (*.ovb) | *.ovb",
                      midi = "Orv MIDI Settings (*.ovm) | *.ovm";
    const std::tuple<std::function<bool()>, const char*, std::string, bool> cases[] = {
        {[&] { return dialogs->loadPresetDialog(false); }, "Load preset", preset, false},
        {[&] { return dialogs->loadPresetDialog(true); }, "Load preset (endian-reversed)", preset, false},
        {[&] { return dialogs->savePresetDialog(); }, "Save preset", preset, true},
        {[&] { return dialogs->loadBankDialog(false); }, "Load bank", bank, false},
        {[&] { return dialogs->loadBankDialog(true); }, "Load bank (endian-reversed)", bank, false},
        {[&] { return dialogs->saveBankDialog(); }, "Save bank", bank, true},
        {[&] { return dialogs->loadMidiSettingsDialog(false); }, "Load MIDI settings", midi, false},
        {[&] { return dialogs->loadMidiSettingsDialog(true); }, "Load MIDI settings (endian-reversed)", midi, false},
        {[&] { return dialogs->saveMidiSettingsDialog(); }, "Save midi settings as", midi, true},
    };
    for (const auto& [open, title, filter, save] : cases) {
        SCOPED_TRACE(title);
        run(open, {}, 1);  // cancelled
        EXPECT_TRUE(hasArg(std::string("--title=") + title));
        EXPECT_TRUE(hasArg("--file-filter=" + filter));
        EXPECT_EQ(hasArg("--save"), save);
    }
}

TEST_F(FileDialogs, SavingWritesTheImageAndRemembersWhereAndUnderWhichName)
{
    run([&] { return dialogs->saveBankDialog(); }, {files + "/My bank.ovb"});
    EXPECT_EQ(readFileBytes(files + "/My bank.ovb"), editor().fileImages().bankImage());
    EXPECT_EQ(dialogs->currentDirectory(), files);
    EXPECT_EQ(dialogs->currentFileName(Kind::Bank), "My bank.ovb");
    // The next preset save opens in that folder with its own (still empty) name.
    run([&] { return dialogs->savePresetDialog(); }, {files + "/Lead.orv"});
    EXPECT_TRUE(hasArg("--filename=" + files + "/"));
    EXPECT_EQ(readFileBytes(files + "/Lead.orv").size(), 1553u);
    run([&] { return dialogs->saveMidiSettingsDialog(); }, {files + "/pedals"});  // the extension is added
    EXPECT_EQ(readFileBytes(files + "/pedals.ovm").size(), 1385u);
    EXPECT_EQ(dialogs->currentFileName(Kind::MidiSettings), "pedals.ovm");
    run([&] { return dialogs->saveBankDialog(); }, {}, 1);
    EXPECT_TRUE(hasArg("--filename=" + files + "/My bank.ovb"));
}

TEST_F(FileDialogs, ExactlyOneChosenReadableFileLoadsAndIsRemembered)
{
    effect->selectProgram(7);
    writeFile(files + "/Found.orv", storedImage("preset.orv"));
    writeFile(files + "/short.orv", Bytes{0x31, 0x47, 0x6F, 0x4F});
    dialogs->setCurrentDirectory("/start");
    const auto loadPreset = [&] { return dialogs->loadPresetDialog(false); };
    // Two files, a cancel, a missing file and a short one: nothing is loaded.
    run(loadPreset, {files + "/Found.orv", files + "/short.orv"});
    run(loadPreset, {}, 1);
    EXPECT_TRUE(hasArg("--filename=/start/"));
    EXPECT_EQ(dialogs->currentDirectory(), "/start");
    run(loadPreset, {files + "/missing.orv"});
    run(loadPreset, {files + "/short.orv"});
    EXPECT_EQ(dialogs->currentFileName(Kind::Preset), "short.orv");  // the choice is remembered
    EXPECT_STREQ(program(7).name, FactoryPrograms::program(7).name);

    run(loadPreset, {files + "/Found.orv"});
    EXPECT_STREQ(program(7).name, "Hand built");
    EXPECT_EQ(dialogs->currentDirectory(), files);
    EXPECT_EQ(dialogs->currentFileName(Kind::Preset), "Found.orv");
    // The same file read with the reversed choice loads nothing.
    effect->programBank().setName(7, "Kept");
    run([&] { return dialogs->loadPresetDialog(true); }, {files + "/Found.orv"});
    EXPECT_STREQ(program(7).name, "Kept");
}

TEST_F(FileDialogs, WithoutAWindowOrADialogProgramNothingHappens)
{
    EXPECT_EQ(dialogs->currentDirectory(), std::filesystem::current_path().string());  // the working folder
    // The editor object exists with the effect, but its window (and frame) does not yet.
    EXPECT_FALSE(editor().saveBankDialog());
    EXPECT_FALSE(editor().loadPresetDialog(false));
    CFrame* kept = frame;
    frame = nullptr;
    EXPECT_FALSE(dialogs->loadPresetDialog(false));
    frame = kept;

    // No zenity, no kdialog, no override: the operations do nothing, said once per process.
    ScopedEnv path("PATH", scratch.path());
    testing::internal::CaptureStderr();
    EXPECT_FALSE(dialogs->loadBankDialog(false));
    EXPECT_FALSE(dialogs->saveMidiSettingsDialog());
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_FALSE(frame->inModalSession());
    const size_t first = err.find("zenity");
    EXPECT_NE(first, std::string::npos) << err;
    EXPECT_EQ(err.find("zenity", first + 1), std::string::npos) << err;
}

TEST(PresetFileDialogs, PathsSplitAtTheLastSeparator)
{
    const std::array<std::string, 3> cases[] = {{"/home/u/presets/Warm.orv", "/home/u/presets", "Warm.orv"},
                                                {"/Root.ovb", "/", "Root.ovb"},
                                                {"bare.ovm", "", "bare.ovm"}};
    for (const std::array<std::string, 3>& want : cases) {  // path, folder, name
        std::array<std::string, 3> got = {want[0], "", ""};
        PresetFileDialogs::splitPath(want[0], got[1], got[2]);
        EXPECT_EQ(got, want);
    }
}

}  // namespace
}  // namespace orv::test
