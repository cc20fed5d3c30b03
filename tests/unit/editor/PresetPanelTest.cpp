// The preset and MIDI panel through its controls: choosing, stepping and renaming programs,
// learn and forget, the controller display, defaults and memos in a private settings folder,
// the file dialogs' titles (scripted selector) and the manual's message box in the window.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "editor/CMessageBoxView.h"
#include "editor/CMidiParamDisplay.h"
#include "editor/COrvTextEdit.h"
#include "editor/COvOnOffButton.h"
#include "support/TempFolder.h"
#include "toolkit/COffscreenContext.h"
#include "toolkit/COptionMenu.h"
#include "toolkit/COptionMenuPopup.h"
#include "unit/editor/EditorRig.h"
#include "unit/toolkit/ToolkitTestSupport.h"

namespace orv::test {
namespace {

class PresetPanelTest : public SharedEditorTest {
protected:
    // The suite's own settings folder, in place before the effect and editor are made.
    static void SetUpTestSuite()
    {
        dir_ = new TempFolder;
        config_ = new ScopedEnv("XDG_CONFIG_HOME", dir_->path());
        SharedEditorTest::SetUpTestSuite();
    }
    static void TearDownTestSuite()
    {
        SharedEditorTest::TearDownTestSuite();
        delete config_;
        delete dir_;
    }
    PresetPanelView& panel() const { return rig.editor->panelView(); }
    RotaryEffect& effect() const { return *rig.effect; }
    static bool stored(const char* name)
    {
        struct stat st;
        return stat((dir_->file("Orvaline/ORVGYR2/") + name).c_str(), &st) == 0;
    }
    void expectCurrentProgram(int index)
    {
        EXPECT_EQ(effect().getCurrentProgramIndex(), index);
        EXPECT_STREQ(panel().getNameField()->getText(), effect().getProgramRecord(index).name);
        EXPECT_EQ(panel().getProgramMenu()->getCurrentIndex(), index);
    }

    static inline TempFolder* dir_ = nullptr;
    static inline ScopedEnv* config_ = nullptr;
};

TEST_F(PresetPanelTest, TheProgramMenuAndRockerSelectPrograms)
{
    rig.click(CPoint(268, 685));
    auto* popup = dynamic_cast<COptionMenuPopup*>(rig.frame()->getModalView());
    ASSERT_NE(popup, nullptr);
    rig.click(centreOf(popup->getCellRect(5)));
    EXPECT_EQ(rig.frame()->getModalView(), nullptr);
    expectCurrentProgram(5);
    // The program's values are applied and the controls show them from the next idle.
    const ProgramRecord p = effect().getProgramRecord(5);
    rig.editor->idle();
    for (int i : {param::kHSlowSpd, param::kDrive, param::kMix}) {
        EXPECT_FLOAT_EQ(effect().getParameter(i), p.values[i]) << i;
        EXPECT_FLOAT_EQ(control(i)->getValue(), p.values[i]) << i;
    }
    // The rocker steps and stops at both ends.
    const CPoint right(300, 686), left(284, 686);
    for (auto [start, at, expected] : {std::tuple{3, right, 4}, {4, left, 3}, {47, right, 47}, {0, left, 0}}) {
        effect().selectProgram(start);
        rig.click(at);
        expectCurrentProgram(expected);
    }
}

// Every program name shows whole in the open program menu: the lines of each entry hold the
// whole title, each no wider (measured here in the menu's font) than the entry's text area,
// which lies inside its cell, inside the menu, inside the window. Program 2 gets the widest
// name a program can have.
TEST_F(PresetPanelTest, TheOpenProgramMenuShowsEveryNameWhole)
{
    effect().selectProgram(2);
    char widest[] = "WWWWWWWWWWWWWWWWWWWWWWW";
    effect().setProgramName(widest);
    rig.render();
    rig.click(CPoint(268, 685));
    auto* popup = dynamic_cast<COptionMenuPopup*>(rig.frame()->getModalView());
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
        EXPECT_TRUE(cell.left >= box.left && cell.right <= box.right && cell.top >= box.top &&
                    cell.bottom <= box.bottom);
        EXPECT_TRUE(text.left >= cell.left && text.right <= cell.right && text.top >= cell.top &&
                    text.bottom <= cell.bottom);
        std::string joined;
        for (const std::string& line : popup->getEntryLines(i)) {
            EXPECT_LE(measure.getStringWidth(line.c_str()), text.getWidth()) << line;
            joined += line;
        }
        EXPECT_EQ(withoutBlanks(joined), withoutBlanks(name));
    }
    EXPECT_EQ(popup->getEntryLines(7), (std::vector<std::string>{"Synchro"}));  // a short name: one line
}

TEST_F(PresetPanelTest, NamesTypedOrSetElsewhereReachTheFieldAndTheList)
{
    effect().selectProgram(2);
    rig.render();
    rig.click(CPoint(200, 686));
    ASSERT_TRUE(panel().getNameField()->isEditing());
    for (int i = 0; i < 30; ++i) rig.key(0, VKEY_BACK);
    for (const char* c = "Swirl"; *c != 0; ++c) rig.key(*c);
    rig.key(0, VKEY_RETURN);
    EXPECT_FALSE(panel().getNameField()->isEditing());
    EXPECT_STREQ(effect().getProgramRecord(2).name, "Swirl");
    EXPECT_STREQ(panel().getProgramMenu()->getEntry(2), "Swirl");
    // A long name: the field keeps 24 characters, the program 23, and after the next idle the
    // field shows the program's name.
    rig.click(CPoint(200, 686));
    for (int i = 0; i < 10; ++i) rig.key(0, VKEY_BACK);
    for (const char* c = "ABCDEFGHIJKLMNOPQRSTUVWXYZ"; *c != 0; ++c) rig.key(*c);
    rig.key(0, VKEY_RETURN);
    EXPECT_STREQ(effect().getProgramRecord(2).name, "ABCDEFGHIJKLMNOPQRSTUVW");
    rig.render();
    EXPECT_STREQ(panel().getNameField()->getText(), "ABCDEFGHIJKLMNOPQRSTUVW");
    // Names and programs changed by the host.
    char name[] = "From The Host";
    effect().selectProgram(0);
    effect().setProgramName(name);
    effect().selectProgram(7);
    rig.render();
    EXPECT_STREQ(panel().getProgramMenu()->getEntry(0), "From The Host");
    expectCurrentProgram(7);
}

TEST_F(PresetPanelTest, LearnAndForgetExcludeEachOtherAndLearningEndsWithTheBinding)
{
    const CPoint learn(272, 665), forget(295, 665);
    const ControllerMap& map = effect().controllerMap();
    // (button clicked, learning, forgetting) after each click.
    for (auto [at, learning, forgetting] :
         {std::tuple{learn, true, false}, {forget, false, true}, {learn, true, false}, {learn, false, false}}) {
        rig.click(at);
        EXPECT_EQ(map.isLearning(), learning);
        EXPECT_EQ(map.isForgetting(), forgetting);
        EXPECT_EQ(panel().getLearnButton()->getValue(), learning ? 1.0f : 0.0f);
        EXPECT_EQ(panel().getForgetButton()->getValue(), forgetting ? 1.0f : 0.0f);
    }
    effect().setParameter(param::kMidiChl, 1.0f);
    rig.click(learn);
    // Turning the Drive knob makes it the learn target.
    rig.press(CPoint(155, 328));
    rig.moveTo(CPoint(165, 328), kLButton);
    rig.release(CPoint(165, 328));
    rig.controlChange(74, 64);
    EXPECT_EQ(effect().controllerOfParameter(param::kDrive), 74);
    // Learning ended on the audio thread; the button follows at the next idle.
    EXPECT_FLOAT_EQ(panel().getLearnButton()->getValue(), 1.0f);
    rig.editor->idle();
    EXPECT_FLOAT_EQ(panel().getLearnButton()->getValue(), 0.0f);
    EXPECT_FALSE(map.isLearning());
    effect().unassignParameter(param::kDrive);
}

TEST_F(PresetPanelTest, ControllerDisplayShowsTheControlUnderTheMouseOrTheLastReceived)
{
    CMidiParamDisplay* display = panel().getMidiDisplay();
    auto shownAt = [&](CPoint p) {
        rig.moveTo(p);
        rig.render();
        return std::string(CMidiParamDisplay::textAt(CMidiParamDisplay::textOfValue(display->getValue())));
    };
    effect().setParameter(param::kMidiChl, 1.0f);
    effect().assignController(param::kDrive, 7);
    effect().assignController(param::kColor, 1);
    // Drive, its value display, Input (not bound), a panel button, no control.
    EXPECT_EQ(shownAt(CPoint(155, 328)), "main volume");
    EXPECT_EQ(shownAt(CPoint(155, 360)), "main volume");
    EXPECT_EQ(shownAt(CPoint(65, 328)), "not assigned");
    EXPECT_EQ(shownAt(CPoint(326, 686)), "");
    EXPECT_EQ(shownAt(EditorRig::kNowhere), "");
    EXPECT_FALSE(display->isShowingReceived());

    rig.controlChange(1, 10);  // moves Color
    rig.render();
    cairo_surface_t* s = rig.render();  // the display changed after the frame's paint: drawn now
    EXPECT_EQ(shownAt(EditorRig::kNowhere), "mod wheel");
    EXPECT_TRUE(display->isShowingReceived());
    int green = 0;  // the received controller is drawn in the alternate colour
    for (int y = 659; y < 673; ++y)
        for (int x = 146; x < 260; ++x) {
            const int r = pixelAt(s, x, y) >> 16, g = pixelAt(s, x, y) >> 8 & 0xff, b = pixelAt(s, x, y) & 0xff;
            green += g > 100 && g > r + 60 && g > b + 60 ? 1 : 0;
        }
    EXPECT_GT(green, 10);
    // Hovering a control forgets the received controller.
    shownAt(CPoint(65, 328));
    EXPECT_EQ(rig.editor->lastController(), -1);
    EXPECT_EQ(shownAt(EditorRig::kNowhere), "");
    effect().unassignParameter(param::kDrive);
    effect().unassignParameter(param::kColor);
}

TEST_F(PresetPanelTest, DefaultButtonsStoreOnDoubleClickClearWithCtrlAndMemosRecall)
{
    const CPoint defaultPreset(100, 686);
    rig.click(defaultPreset);
    EXPECT_FALSE(stored("DefaultPreset")) << "a single click does nothing";
    rig.click(defaultPreset, kLButton | kDoubleClick);
    EXPECT_TRUE(stored("DefaultPreset"));
    rig.click(defaultPreset, kLButton | kDoubleClick | kControl);
    EXPECT_FALSE(stored("DefaultPreset"));
    rig.click(CPoint(36, 686), kLButton | kDoubleClick);
    EXPECT_TRUE(stored("DefaultBank"));
    rig.click(CPoint(36, 665), kLButton | kDoubleClick);
    EXPECT_TRUE(stored("DefaultMidi"));

    // Store A, store B, recall A, recall B.
    for (auto [drive, at] : {std::pair{0.8f, CPoint(326, 686)}, {0.1f, CPoint(373, 686)}, {0.5f, CPoint(348, 686)}}) {
        effect().setParameter(param::kDrive, drive);
        rig.click(at);
    }
    EXPECT_FLOAT_EQ(effect().getParameter(param::kDrive), 0.8f);
    rig.editor->idle();
    EXPECT_FLOAT_EQ(control(param::kDrive)->getValue(), 0.8f);
    rig.click(CPoint(395, 686));
    EXPECT_FLOAT_EQ(effect().getParameter(param::kDrive), 0.1f);
}

TEST_F(PresetPanelTest, ManualFailureShowsAMessageBoxThatTakesTheNextInput)
{
    // No "ManualPath" in the fresh settings folder: opening fails.
    rig.click(CPoint(429, 686));
    auto* box = dynamic_cast<CMessageBoxView*>(rig.frame()->getModalView());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->getText(), "Could not open user manual");
    // A click on a control is taken by the box: it closes it and changes nothing.
    rig.click(CPoint(300, 632));
    EXPECT_EQ(rig.frame()->getModalView(), nullptr);
    EXPECT_EQ(param(param::kBypass), rig.initial[param::kBypass]);
    // Other keys leave it, Escape closes it.
    rig.editor->settings().openManual();
    ASSERT_NE(rig.frame()->getModalView(), nullptr);
    rig.key('x');
    EXPECT_NE(rig.frame()->getModalView(), nullptr);
    rig.key(0, VKEY_ESCAPE);
    EXPECT_EQ(rig.frame()->getModalView(), nullptr);
    // Without a window the message goes to the standard error.
    rig.editor->close();
    testing::internal::CaptureStderr();
    rig.editor->settings().openManual();
    EXPECT_NE(testing::internal::GetCapturedStderr().find("Could not open user manual"), std::string::npos);
}

TEST_F(PresetPanelTest, LoadButtonsOpenTheReversedDialogOnAPlainRightClick)
{
    // A file selector that records its arguments and cancels.
    const std::string script = dir_->file("selector.sh"), log = dir_->file("selector.log");
    std::ofstream(script) << "#!/bin/sh\nfor a in \"$@\"; do echo \"$a\" >> '" << log << "'; done\nexit 1\n";
    chmod(script.c_str(), 0755);
    ScopedEnv command("ORV_FILE_SELECTOR", script);
    for (auto [at, buttons] : {std::pair<CPoint, uint32_t>{CPoint(132, 686), kRButton},
                               {CPoint(132, 686), kRButton | kShift},
                               {CPoint(62, 686), kLButton},
                               {CPoint(9, 666), kLButton}}) {
        rig.click(at, buttons);
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (rig.frame()->inModalSession() && std::chrono::steady_clock::now() < until) {
            rig.editor->idle();
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        EXPECT_FALSE(rig.frame()->inModalSession());
    }
    std::stringstream titles;
    titles << std::ifstream(log).rdbuf();
    const std::string all = titles.str();
    size_t at = 0;
    for (const char* title : {"--title=Load preset (endian-reversed)\n", "--title=Load preset\n", "--title=Load bank\n",
                              "--title=Save midi settings as\n"}) {
        const size_t found = all.find(title, at);
        EXPECT_NE(found, std::string::npos) << title << " in order in\n" << all;
        at = found == std::string::npos ? at : found;
    }
}

}  // namespace
}  // namespace orv::test
