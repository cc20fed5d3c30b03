// The preset and MIDI panel through its controls: choosing, stepping and renaming programs,
// learn and forget, the controller display, defaults and memos in a private settings folder,
// the file dialogs' titles (scripted selector) and the manual's message box in the window.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "editor/CMessageBoxView.h"
#include "editor/CMidiParamDisplay.h"
#include "editor/COrvTextEdit.h"
#include "editor/COvKickButton.h"
#include "editor/COvOnOffButton.h"
#include "params/ParameterIndex.h"
#include "support/TempFolder.h"
#include "toolkit/COffscreenContext.h"
#include "toolkit/COptionMenu.h"
#include "toolkit/COptionMenuPopup.h"
#include "unit/editor/EditorRig.h"

namespace orv::test {
namespace {

class PresetPanelTest : public ::testing::Test {
protected:
    void SetUp() override {
        rig = std::make_unique<EditorRig>();
        ASSERT_TRUE(rig->open());
        rig->render();
    }
    void TearDown() override { rig.reset(); }

    PresetPanelView& panel() const { return rig->editor->panelView(); }
    RotaryEffect& effect() const { return *rig->effect; }
    std::string settingsFile(const char* name) const { return dir.file("Orvaline/ORVGYR2/") + name; }

    TempFolder dir;
    ScopedEnv config{"XDG_CONFIG_HOME", dir.path()};
    std::unique_ptr<EditorRig> rig;
};

TEST_F(PresetPanelTest, ChoosingFromTheProgramMenuSelectsTheProgram) {
    rig->click(CPoint(268, 685));
    auto* popup = dynamic_cast<COptionMenuPopup*>(rig->frame()->getModalView());
    ASSERT_NE(popup, nullptr);
    rig->click(centreOf(popup->getCellRect(5)));
    EXPECT_EQ(rig->frame()->getModalView(), nullptr);
    EXPECT_EQ(effect().getCurrentProgramIndex(), 5);
    const ProgramRecord& p = effect().getProgramRecord(5);
    EXPECT_STREQ(panel().getNameField()->getText(), p.name);
    EXPECT_EQ(panel().getProgramMenu()->getCurrentIndex(), 5);
    // The program's values are applied and the controls show them from the next idle.
    rig->editor->idle();
    for (int i : {param::kHSlowSpd, param::kDrive, param::kMix}) {
        EXPECT_FLOAT_EQ(effect().getParameter(i), p.values[i]) << i;
        EXPECT_FLOAT_EQ(rig->editor->getParameterControl(i)->getValue(), p.values[i]) << i;
    }
}

TEST_F(PresetPanelTest, ProgramRockerStepsAndStopsAtBothEnds) {
    const CPoint right(300, 686);
    const CPoint left(284, 686);
    effect().selectProgram(3);
    rig->click(right);
    EXPECT_EQ(effect().getCurrentProgramIndex(), 4);
    EXPECT_STREQ(panel().getNameField()->getText(), effect().getProgramRecord(4).name);
    EXPECT_EQ(panel().getProgramMenu()->getCurrentIndex(), 4);
    rig->click(left);
    EXPECT_EQ(effect().getCurrentProgramIndex(), 3);

    effect().selectProgram(47);
    rig->click(right);
    EXPECT_EQ(effect().getCurrentProgramIndex(), 47);
    effect().selectProgram(0);
    rig->click(left);
    EXPECT_EQ(effect().getCurrentProgramIndex(), 0);
}

// Every program name shows whole in the open program menu: the lines of each entry hold the
// whole title, each no wider (measured here in the menu's font) than the entry's text area,
// which lies inside its cell, inside the menu, inside the window. Program 2 gets the widest
// name a program can have.
TEST_F(PresetPanelTest, TheOpenProgramMenuShowsEveryNameWhole) {
    effect().selectProgram(2);
    char widest[] = "WWWWWWWWWWWWWWWWWWWWWWW";
    effect().setProgramName(widest);
    rig->render();
    rig->click(CPoint(268, 685));
    auto* popup = dynamic_cast<COptionMenuPopup*>(rig->frame()->getModalView());
    ASSERT_NE(popup, nullptr);
    const CRect box = popup->getBoxRect();
    EXPECT_TRUE(box.left >= 0 && box.top >= 0 && box.right <= 448 && box.bottom <= 696);
    COffscreenContext measure(1, 1);
    measure.setFont(kNormalFontSmall);
    auto withoutBlanks = [](std::string s) { return std::erase(s, ' '), s; };
    for (int i = 0; i < 48; ++i) {
        const std::string name = effect().getProgramRecord(i).name;
        SCOPED_TRACE(name);
        const CRect cell = popup->getCellRect(i), text = popup->getTextRect(i);
        EXPECT_TRUE(cell.left >= box.left && cell.right <= box.right && cell.top >= box.top && cell.bottom <= box.bottom);
        EXPECT_TRUE(text.left >= cell.left && text.right <= cell.right && text.top >= cell.top && text.bottom <= cell.bottom);
        std::string joined;
        for (const std::string& line : popup->getEntryLines(i)) {
            EXPECT_LE(measure.getStringWidth(line.c_str()), text.getWidth()) << line;
            joined += line;
        }
        EXPECT_EQ(withoutBlanks(joined), withoutBlanks(name));
    }
    // A short name stays on one line.
    EXPECT_EQ(popup->getEntryLines(7), (std::vector<std::string>{"Synchro"}));
}

TEST_F(PresetPanelTest, TypingANameRenamesTheCurrentProgram) {
    effect().selectProgram(2);
    rig->render();
    EXPECT_STREQ(panel().getNameField()->getText(), effect().getProgramRecord(2).name);
    rig->click(CPoint(200, 686));
    ASSERT_TRUE(panel().getNameField()->isEditing());
    for (int i = 0; i < 30; ++i) rig->key(0, VKEY_BACK);
    rig->type("Swirl");
    rig->key(0, VKEY_RETURN);
    EXPECT_FALSE(panel().getNameField()->isEditing());
    EXPECT_STREQ(effect().getProgramRecord(2).name, "Swirl");
    EXPECT_STREQ(panel().getProgramMenu()->getEntry(2), "Swirl");
    EXPECT_STREQ(panel().getNameField()->getText(), "Swirl");

    // A long name: the field keeps 24 characters, the program 23, and after the next idle the
    // field shows the program's name.
    rig->click(CPoint(200, 686));
    for (int i = 0; i < 10; ++i) rig->key(0, VKEY_BACK);
    rig->type("ABCDEFGHIJKLMNOPQRSTUVWXYZ");
    rig->key(0, VKEY_RETURN);
    EXPECT_STREQ(effect().getProgramRecord(2).name, "ABCDEFGHIJKLMNOPQRSTUVW");
    rig->render();
    EXPECT_STREQ(panel().getNameField()->getText(), "ABCDEFGHIJKLMNOPQRSTUVW");
    EXPECT_STREQ(panel().getProgramMenu()->getEntry(2), "ABCDEFGHIJKLMNOPQRSTUVW");
}

TEST_F(PresetPanelTest, ProgramListFollowsNamesAndProgramsChangedElsewhere) {
    char name[] = "From The Host";
    effect().setProgramName(name);
    effect().selectProgram(7);
    rig->render();
    EXPECT_STREQ(panel().getProgramMenu()->getEntry(0), "From The Host");
    EXPECT_EQ(panel().getProgramMenu()->getCurrentIndex(), 7);
    EXPECT_STREQ(panel().getNameField()->getText(), effect().getProgramRecord(7).name);
}

TEST_F(PresetPanelTest, LearnAndForgetButtonsExcludeEachOther) {
    const CPoint learn(272, 665);
    const CPoint forget(295, 665);
    const ControllerMap& map = effect().controllerMap();
    rig->click(learn);
    EXPECT_TRUE(map.isLearning());
    EXPECT_FLOAT_EQ(panel().getLearnButton()->getValue(), 1.0f);

    rig->click(forget);
    EXPECT_FALSE(map.isLearning());
    EXPECT_TRUE(map.isForgetting());
    EXPECT_FLOAT_EQ(panel().getLearnButton()->getValue(), 0.0f);
    EXPECT_FLOAT_EQ(panel().getForgetButton()->getValue(), 1.0f);

    rig->click(learn);
    EXPECT_TRUE(map.isLearning());
    EXPECT_FALSE(map.isForgetting());
    EXPECT_FLOAT_EQ(panel().getForgetButton()->getValue(), 0.0f);

    rig->click(learn);
    EXPECT_FALSE(map.isLearning());
    EXPECT_FLOAT_EQ(panel().getLearnButton()->getValue(), 0.0f);
}

vst::VstMidiEvent controlChange(int controller, int value) {
    vst::VstMidiEvent cc{};
    cc.type = vst::kVstMidiType;
    cc.byteSize = sizeof cc;
    cc.midiData[0] = static_cast<char>(0xB0);
    cc.midiData[1] = static_cast<char>(controller);
    cc.midiData[2] = static_cast<char>(value);
    return cc;
}

void send(RotaryEffect& effect, vst::VstMidiEvent cc) {
    struct {
        vst::i32 numEvents;
        vst::iptr reserved;
        vst::VstEvent* events[1];
    } list{1, 0, {reinterpret_cast<vst::VstEvent*>(&cc)}};
    effect.processEvents(reinterpret_cast<vst::VstEvents*>(&list));
}

TEST_F(PresetPanelTest, LearningEndsWithTheBindingAndTurnsTheButtonOff) {
    effect().setParameter(param::kMidiChl, 1.0f);
    rig->click(CPoint(272, 665));
    // Turning the Drive knob makes it the learn target.
    rig->press(CPoint(155, 328));
    rig->moveTo(CPoint(165, 328), kLButton);
    rig->release(CPoint(165, 328));
    send(effect(), controlChange(74, 64));
    EXPECT_EQ(effect().controllerOfParameter(param::kDrive), 74);
    // Learning ended on the audio thread; the button follows at the next idle.
    EXPECT_FLOAT_EQ(panel().getLearnButton()->getValue(), 1.0f);
    rig->editor->idle();
    EXPECT_FLOAT_EQ(panel().getLearnButton()->getValue(), 0.0f);
    EXPECT_FALSE(effect().controllerMap().isLearning());
}

TEST_F(PresetPanelTest, ControllerDisplayShowsTheControlUnderTheMouseOrTheLastReceived) {
    CMidiParamDisplay* display = panel().getMidiDisplay();
    auto shown = [&] { return std::string(CMidiParamDisplay::textAt(CMidiParamDisplay::textOfValue(display->getValue()))); };
    effect().setParameter(param::kMidiChl, 1.0f);
    effect().assignController(param::kDrive, 7);
    effect().assignController(param::kColor, 1);

    rig->moveTo(CPoint(155, 328));  // Drive
    rig->render();
    EXPECT_EQ(shown(), "main volume");
    EXPECT_FALSE(display->isShowingReceived());
    rig->moveTo(CPoint(155, 360));  // Drive's value display
    rig->render();
    EXPECT_EQ(shown(), "main volume");
    rig->moveTo(CPoint(65, 328));  // Input: not bound
    rig->render();
    EXPECT_EQ(shown(), "not assigned");
    rig->moveTo(CPoint(326, 686));  // a panel button
    rig->render();
    EXPECT_EQ(shown(), "");

    const CPoint nothing(10, 300);
    ASSERT_EQ(rig->frame()->getViewAt(nothing), nullptr);
    rig->moveTo(nothing);
    rig->render();
    EXPECT_EQ(shown(), "");
    EXPECT_FALSE(display->isShowingReceived());

    send(effect(), controlChange(1, 10));  // moves Color
    rig->render();
    cairo_surface_t* s = rig->render();  // the display changed after the frame's paint: drawn now
    EXPECT_EQ(shown(), "mod wheel");
    EXPECT_TRUE(display->isShowingReceived());
    int green = 0;
    for (int y = 659; y < 673; ++y)
        for (int x = 146; x < 260; ++x) {
            const uint32_t p = rgbAt(s, x, y);
            const int r = static_cast<int>(p >> 16), g = static_cast<int>((p >> 8) & 0xff), b = static_cast<int>(p & 0xff);
            if (g > 100 && g > r + 60 && g > b + 60) ++green;
        }
    EXPECT_GT(green, 10) << "the received controller is drawn in the alternate colour";

    // Hovering a control forgets the received controller.
    rig->moveTo(CPoint(65, 328));
    rig->render();
    EXPECT_EQ(rig->editor->lastController(), -1);
    rig->moveTo(nothing);
    rig->render();
    EXPECT_EQ(shown(), "");
}

TEST_F(PresetPanelTest, DefaultButtonsStoreOnDoubleClickAndClearWithCtrl) {
    const CPoint defaultPreset(100, 686);
    const std::string stored = settingsFile("DefaultPreset");
    rig->click(defaultPreset);
    EXPECT_FALSE(fileExists(stored)) << "a single click does nothing";
    rig->click(defaultPreset, kLButton | kDoubleClick);
    EXPECT_TRUE(fileExists(stored));
    rig->click(defaultPreset, kLButton | kDoubleClick | kControl);
    EXPECT_FALSE(fileExists(stored));

    rig->click(CPoint(36, 686), kLButton | kDoubleClick);  // bank
    EXPECT_TRUE(fileExists(settingsFile("DefaultBank")));
    rig->click(CPoint(36, 665), kLButton | kDoubleClick);  // MIDI settings
    EXPECT_TRUE(fileExists(settingsFile("DefaultMidi")));
}

TEST_F(PresetPanelTest, MemosStoreAndRecallTheCurrentProgram) {
    effect().setParameter(param::kDrive, 0.8f);
    rig->click(CPoint(326, 686));  // store A
    effect().setParameter(param::kDrive, 0.1f);
    rig->click(CPoint(373, 686));  // store B
    effect().setParameter(param::kDrive, 0.5f);
    rig->click(CPoint(348, 686));  // recall A
    EXPECT_FLOAT_EQ(effect().getParameter(param::kDrive), 0.8f);
    rig->editor->idle();
    EXPECT_FLOAT_EQ(rig->editor->getParameterControl(param::kDrive)->getValue(), 0.8f);
    rig->click(CPoint(395, 686));  // recall B
    EXPECT_FLOAT_EQ(effect().getParameter(param::kDrive), 0.1f);
}

TEST_F(PresetPanelTest, ManualFailureShowsAMessageBoxInsideTheWindow) {
    // No "ManualPath" in the fresh settings folder: opening fails.
    rig->click(CPoint(429, 686));
    auto* box = dynamic_cast<CMessageBoxView*>(rig->frame()->getModalView());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->getTitle(), "");
    EXPECT_EQ(box->getText(), "Could not open user manual");
    EXPECT_EQ(box->getViewSize(), CRect(0, 0, 448, 696));
    auto* manual = dynamic_cast<COvKickButton*>(panel().getControl(PresetPanelView::kTagManual));
    ASSERT_NE(manual, nullptr);
    EXPECT_FALSE(manual->isPressed());

    // The box darkens the editor and is drawn in the middle.
    cairo_surface_t* s = rig->render();
    const CRect inner = box->getBoxRect();
    EXPECT_EQ(inner, CRect(64, 300, 384, 396));
    EXPECT_NE(mismatchesAgainstBitmap(s, CRect(0, 0, 448, 40), 4000, 0, 0), 0);

    // Clicks on controls are taken by the box: the first closes it and changes nothing.
    const float bypass = effect().getParameter(param::kBypass);
    rig->click(CPoint(300, 632));
    EXPECT_EQ(rig->frame()->getModalView(), nullptr);
    EXPECT_EQ(effect().getParameter(param::kBypass), bypass);
    rig->render();
    rig->click(CPoint(300, 632));
    EXPECT_NE(effect().getParameter(param::kBypass), bypass);
}

TEST_F(PresetPanelTest, MessageBoxClosesWithKeysAndFallsBackWithoutAWindow) {
    rig->editor->settings().openManual();
    ASSERT_NE(dynamic_cast<CMessageBoxView*>(rig->frame()->getModalView()), nullptr);
    rig->key('x');
    EXPECT_NE(rig->frame()->getModalView(), nullptr) << "other keys leave it";
    rig->key(0, VKEY_ESCAPE);
    EXPECT_EQ(rig->frame()->getModalView(), nullptr);

    rig->editor->close();
    testing::internal::CaptureStderr();
    rig->editor->settings().openManual();
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("Could not open user manual"), std::string::npos);
}

// A file selector that records its arguments and cancels.
class ScriptedSelector {
public:
    explicit ScriptedSelector(const std::string& dir) : script_(dir + "/selector.sh"), log_(dir + "/selector.log") {
        std::ofstream out(script_);
        out << "#!/bin/sh\nfor a in \"$@\"; do echo \"$a\" >> '" << log_ << "'; done\necho --- >> '" << log_
            << "'\nexit 1\n";
        out.close();
        chmod(script_.c_str(), 0755);
    }
    const std::string& script() const { return script_; }
    std::string log() const {
        std::ifstream in(log_);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }

private:
    std::string script_;
    std::string log_;
};

TEST_F(PresetPanelTest, LoadButtonsOpenTheReversedDialogOnAPlainRightClick) {
    ScriptedSelector selector(dir.path());
    ScopedEnv command("ORV_FILE_SELECTOR", selector.script());
    auto runDialog = [&](CPoint at, uint32_t buttons) {
        rig->click(at, buttons);
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (rig->frame()->inModalSession() && std::chrono::steady_clock::now() < until) {
            rig->editor->idle();
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        EXPECT_FALSE(rig->frame()->inModalSession());
    };
    runDialog(CPoint(132, 686), kRButton);
    runDialog(CPoint(132, 686), kRButton | kShift);
    runDialog(CPoint(62, 686), kLButton);
    runDialog(CPoint(9, 666), kLButton);
    const std::string log = selector.log();
    const size_t reversed = log.find("--title=Load preset (endian-reversed)");
    const size_t plain = log.find("--title=Load preset\n");
    const size_t bank = log.find("--title=Load bank\n");
    const size_t midi = log.find("--title=Save midi settings as\n");
    EXPECT_NE(reversed, std::string::npos) << log;
    EXPECT_NE(plain, std::string::npos) << log;
    EXPECT_NE(bank, std::string::npos) << log;
    EXPECT_NE(midi, std::string::npos) << log;
    EXPECT_LT(reversed, plain);
    EXPECT_LT(plain, bank);
    EXPECT_LT(bank, midi);
}

}  // namespace
}  // namespace orv::test
