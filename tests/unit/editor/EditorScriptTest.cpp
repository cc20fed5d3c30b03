// The whole editor driven by one script of user and host events: parameter changes reaching the
// controls at the next idle, gestures reaching the effect and the host (begin, automation, end),
// the speed button's pedal modes, the channel rocker, the program menu, rocker and name field,
// learn and forget, the controller display, the default and memo buttons and the manual's
// message box. After each step everything that changed is written on one line; the lines are
// stored beside the test (data/script.txt, rewritten with ORV_UPDATE_EDITOR_SCRIPT=1). Steps
// with a hand-worked result also name a part that their line must contain.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <thread>

#include "editor/CMessageBoxView.h"
#include "editor/CMidiParamDisplay.h"
#include "editor/COrvTextEdit.h"
#include "editor/CSplashScreenMyView.h"
#include "editor/OrvMarker.h"
#include "support/StoredLines.h"
#include "support/TempFolder.h"
#include "toolkit/COptionMenu.h"
#include "toolkit/COptionMenuPopup.h"
#include "unit/editor/EditorRig.h"
#include "unit/toolkit/ToolkitTestSupport.h"

namespace orv::test {
namespace {

struct Step {
    const char* event;
    const char* expect = "";  // hand-worked parts of the step's line, between "; "
};

// Events, "; " between several in one step: click/press/move/release/hover x y [r right,
// d double, c Ctrl, s Shift], cell n (the centre of entry n of the open menu), key name [times],
// type text, set index|all value, poke tag value (a control's value behind the
// editor's back), idle, cc controller value, program n, name text, assign parameter controller,
// unassign parameter, manual (opened by the program).
// clang-format off
const Step kScript[] = {
    // Parameter changes move the controls (knob, value display) at the next idle only, both
    // lines of the set-up display too. Hidden parameters and bindings have no control.
    {"set 17 0.9", "| | p17=0.9"}, {"idle", "c17=0.9; c17b=0.9"}, {"set 10 0.6"}, {"idle", "c10c=0.6"},
    {"set 55 0.3; set 120 0.3; idle", "| |"},
    // Values outside the range are stored, but shown clamped (NaN and the infinities as 0).
    {"set all nan; idle", "c17=0; p0=nan"}, {"set all inf; idle"}, {"set all -inf; idle"}, {"set all -0.5; idle"},
    {"set all 5; idle", "c17=1"}, {"set all 0; idle"},
    // A knob drag is one gesture: 40 of 400 pixels are a tenth of the range.
    {"set 17 0.25; idle"}, {"press 65 78", "b17 |"}, {"move 105 78", "a17=0.35 | c17=0.35"},
    {"release 105 78", "e17 |"},
    // A double-click restores the default (notified only if it differs); Bypass sends old, new.
    {"set 29 0.2; idle"}, {"click 338 470 d", "b29 a29=1 e29"}, {"click 338 470 d"},
    {"click 300 632", "a0=0 a0=1"}, {"click 300 632", "a0=1 a0=0"},
    // The about logo sends nothing, a right click does not open it, any left click closes it
    // and lands on the picture, not on the Bypass button under it.
    {"click 120 171 r", "| |"}, {"click 120 171", "modal=about"}, {"click 400 650 r", "| |"},
    {"click 300 632", "modal=none"},
    // The speed button's pedal modes: (lever, speed) on the press and release of two presses.
    {"set 41 0; set 3 0; set 2 0; idle"}, {"press 366 370", "a2=1 a3=1"}, {"release 366 370", " e3 |"},
    {"press 366 370", "a2=0 a3=0"}, {"release 366 370", " e3 |"},
    {"set 41 1; idle"}, {"press 366 370", "a2=1 a3=1"}, {"release 366 370"}, {"press 366 370"}, {"release 366 370"},
    {"set 41 0.333333; idle"}, {"press 366 370", "a2=1 a3=1"}, {"release 366 370", "a2=0 a3=0"},
    {"set 41 0.666667; idle"}, {"press 366 370", "a2=0 a3=0"}, {"release 366 370", "a2=1 a3=1"},
    // The channel rocker steps by 1/18 and stops at the ends; its own automation comes after the
    // change it caused. Eighteen steps cross seventeen channel intervals: the ninth channel
    // takes two.
    {"set 39 1"}, {"click 135 666", "a39=1 a195=1"}, {"set 39 0"}, {"click 113 666"},
    {"click 135 666; idle", "channel=1"}, {"click 135 666; idle", "channel=2"}, {"click 135 666; idle", "channel=3"},
    {"click 135 666; idle", "channel=4"}, {"click 135 666; idle", "channel=5"}, {"click 135 666; idle", "channel=6"},
    {"click 135 666; idle", "channel=7"}, {"click 135 666; idle", "channel=8"}, {"click 135 666; idle", "channel=9"},
    {"click 135 666; idle"}, {"click 135 666; idle", "channel=10"}, {"click 135 666; idle", "channel=11"},
    {"click 135 666; idle", "channel=12"}, {"click 135 666; idle", "channel=13"},
    {"click 135 666; idle", "channel=14"}, {"click 135 666; idle", "channel=15"},
    {"click 135 666; idle", "channel=16"}, {"click 135 666; idle", "channel=17"},
    {"click 113 666", "channel=16; p39=0.944444"}, {"set 195 0", "| |"},
    // A controller moving a parameter refreshes every control at the next idle, also one that
    // was out of step.
    {"set 39 1; assign 13 20", "cc13=20"}, {"poke 15 0.123"}, {"cc 20 127", "| | p13=1"}, {"idle", "c13=1"},
    {"unassign 13"},
    // The program menu, the program rocker (stopping at both ends), names typed and set by the host.
    {"click 268 685", "modal=menu"}, {"cell 5", "program=5 menu 5"}, {"idle"},
    {"program 3; click 300 686", "program=4 menu 4"}, {"click 284 686", "program=3 menu 3"},
    {"program 47; click 300 686", "program=47 menu 47"}, {"program 0; click 284 686", "program=0 menu 0"},
    // The name field takes no keys until clicked; Escape cancels, a click elsewhere commits.
    {"program 2; idle; hover 200 686; key back", "key=-1"}, {"click 200 686", "editing"}, {"key back 30; type Swirl"},
    {"key return", "a196=0 e196; entry=Swirl; record=Swirl"}, {"click 200 686; type xyz; key escape", "| |"},
    {"click 200 686; key home; type >; key end; type <; key left; key delete; click 10 300", "record=>Swirl"},
    {"click 200 686; key back 30; type ABCDEFGHIJKLMNOPQRSTUVWXYZ"},
    {"key return", "record=ABCDEFGHIJKLMNOPQRSTUVW"}, {"idle", "name=ABCDEFGHIJKLMNOPQRSTUVW"},
    {"program 0; name From The Host", "record=From The Host"}, {"idle", "entry=From The Host"},
    {"program 7; idle", "name=Synchro"}, {"click 268 685; click 5 5", "| |"}, {"click 268 685; key escape", "| |"},
    {"program 3; idle; click 268 685; key down; key right; key return", "program=12 menu 12"},  // a column holds 8
    // Learn and forget exclude each other; turning a knob makes it the learn target and a
    // controller then binds it; the button follows at the next idle.
    {"click 272 665", "a203=1 |; learning"}, {"click 295 665", "forgetting"}, {"click 272 665", "learning"},
    {"click 272 665", "a203=0 |; learn=-"}, {"click 272 665; press 155 328; move 165 328; release 165 328"},
    {"cc 74 64", "cc13=74"}, {"idle", "c203=0"}, {"unassign 13"},
    // The controller display: the control under the mouse, or the last controller received
    // (forgotten when the mouse is over a control).
    {"assign 13 7; assign 15 1; hover 155 328", "midi=main volume"}, {"hover 155 360"},
    {"hover 65 328", "midi=not assigned"}, {"hover 326 686", "midi= "}, {"hover 10 300"},
    {"cc 1 10; hover 10 300", "midi=mod wheel received"}, {"hover 65 328", "midi=not assigned"},
    {"hover 10 300", "midi= "}, {"unassign 13; unassign 15"},
    // The default buttons store on a double-click and clear with Ctrl; the memos store and recall.
    {"click 100 686", "| |"}, {"click 100 686 d", "stored=DefaultPreset"}, {"click 100 686 dc", "stored= "},
    {"click 36 686 d", "stored=DefaultBank"}, {"click 36 665 d", "stored=DefaultBank,DefaultMidi"},
    {"set 13 0.8; click 326 686; set 13 0.1; click 373 686; set 13 0.5; click 348 686", "p13=0.8"},
    {"idle", "c13=0.8"}, {"click 395 686", "p13=0.1"},
    // The manual cannot open: a message box takes the next click (changing nothing) and keys.
    {"click 429 686", "modal=message Could not open user manual"}, {"click 300 632", "| | modal=none"},
    {"manual", "modal=message"}, {"type x", "| |"}, {"key escape", "modal=none"},
    // The load buttons open the reversed dialog on a plain right click.
    {"click 132 686 r; wait", "dialog=Load preset (endian-reversed)"}, {"click 132 686 rs; wait", "dialog=Load preset"},
    {"click 62 686; wait", "dialog=Load bank"}, {"click 9 666; wait", "dialog=Save midi settings as"},
    // The markers follow the rotors that the speaker configuration uses (out of sight at 0.5),
    // and stand still while the about picture is shown.
    {"program 7; set 2 1; set 31 0.5; set 165 0; resume; audio 8; idle", "drum=rotor; horn=rotor"},
    {"set 31 0; audio 8; idle", "drum=rotor; horn=apart 0.5"},
    {"set 31 1; audio 8; idle", "drum=apart 0.5; horn=rotor"},
    {"set 31 0.5; set 165 1; audio 8; idle", "horn=apart 0.5"}, {"set 165 0; audio 8; idle", "drum=rotor; horn=rotor"},
    {"click 120 170; audio 16; idle", "horn=apart"},
    {"click 10 10; idle", "horn=rotor"},
};
// clang-format on

// Splits "a; b; c".
std::vector<std::string> parts(const std::string& text)
{
    std::vector<std::string> out;
    for (size_t at = 0, end = 0; at < text.size(); at = end + 2)
        out.push_back(text.substr(at, (end = std::min(text.find("; ", at), text.size())) - at));
    return out;
}

// Folds an angle in turns into the marker's range as the editor does.
float folded(double a) { return static_cast<float>(a > 1.0 ? a - 1.0 : (a < 0.0 ? a + 1.0 : a)); }

class EditorScriptTest : public SharedEditorTest {
protected:
    // The suite's own settings folder, in place before the effect and editor are made, and a
    // file selector that records its arguments and cancels.
    static void SetUpTestSuite()
    {
        dir_ = new TempFolder;
        config_ = new ScopedEnv("XDG_CONFIG_HOME", dir_->path());
        std::ofstream(dir_->file("selector.sh"))
            << "#!/bin/sh\nfor a in \"$@\"; do echo \"$a\"; done > '" << dir_->file("selector.log") << "'\nexit 1\n";
        chmod(dir_->file("selector.sh").c_str(), 0755);
        selector_ = new ScopedEnv("ORV_FILE_SELECTOR", dir_->file("selector.sh"));
        SharedEditorTest::SetUpTestSuite();
    }
    static void TearDownTestSuite()
    {
        SharedEditorTest::TearDownTestSuite();
        delete selector_;
        delete config_;
        delete dir_;
    }

    // Everything a step may change, by name.
    std::map<std::string, std::string> state() const
    {
        std::map<std::string, std::string> s;
        RotaryEffect& e = *rig.effect;
        for (int i = 0; i < kNumUserParams; ++i) {
            s["p" + std::to_string(i)] = Recorder::fmt(e.getParameter(i));
            s["cc" + std::to_string(i)] = std::to_string(e.controllerOfParameter(i));
        }
        std::map<int, int> seen;  // a knob, its display(s) and their second lines share a tag
        for (int i = 0; i < rig.frame()->getNbViews(); ++i)
            if (auto* c = dynamic_cast<CControl*>(rig.frame()->getView(i))) {
                const int n = seen[c->getTag()]++;
                s["c" + std::to_string(c->getTag()) + (n > 0 ? std::string(1, char('a' + n)) : "")] =
                    Recorder::fmt(c->getValue());
            }
        // A marker on its rotor's angle, or apart from it.
        for (auto [name, marker, angle] : {std::tuple{"horn", rig.editor->getHornMarker(), e.hornAngle()},
                                           {"drum", rig.editor->getDrumMarker(), e.drumAngle()}})
            s[name] = (marker->getValue() == folded(angle) ? "rotor " : "apart ") + Recorder::fmt(marker->getValue());
        CView* modal = rig.frame()->getModalView();
        auto* box = dynamic_cast<CMessageBoxView*>(modal);
        s["modal"] = modal == nullptr                              ? "none"
            : dynamic_cast<COptionMenuPopup*>(modal) != nullptr    ? "menu"
            : box != nullptr                                       ? "message " + box->getText()
            : dynamic_cast<CSplashScreenMyView*>(modal) != nullptr ? "about"
                                                                   : "other";
        PresetPanelView& panel = rig.editor->panelView();
        const int program = e.getCurrentProgramIndex();
        s["program"] = std::to_string(program) + " menu " + std::to_string(panel.getProgramMenu()->getCurrentIndex());
        s["name"] = std::string(panel.getNameField()->getText()) + " " + panel.getNameField()->getEditText() +
            (panel.getNameField()->isEditing() ? " editing" : "");
        s["entry"] = panel.getProgramMenu()->getEntry(program);
        s["record"] = e.getProgramRecord(program).name;
        s["learn"] = e.controllerMap().isLearning() ? "learning"
            : e.controllerMap().isForgetting()      ? "forgetting"
                                                    : "-";
        s["channel"] = std::to_string(e.controllerMap().channelStep());
        s["key"] = std::to_string(lastKey_);
        const CMidiParamDisplay* midi = panel.getMidiDisplay();
        s["midi"] = std::string(CMidiParamDisplay::textAt(CMidiParamDisplay::textOfValue(midi->getValue()))) +
            (midi->isShowingReceived() ? " received" : "");
        s["stored"] = "";
        for (const std::string& f : dir_->entries("Orvaline/ORVGYR2"))
            if (f.rfind("Default", 0) == 0) s["stored"] += (s["stored"].empty() ? "" : ",") + f;
        std::ifstream log(dir_->file("selector.log"));
        for (std::string line; std::getline(log, line);)
            if (line.rfind("--title=", 0) == 0) s["dialog"] = line.substr(8);
        return s;
    }

    void run(const std::string& event)
    {
        char verb[16] = {}, mods[8] = {}, text[64] = {};
        int x = 0, y = 0, n = 1;
        float v = 0.0f;
        std::sscanf(event.c_str(), "%15s %d %d %7s", verb, &x, &y, mods);
        const std::string what = verb, rest = event.substr(std::min(event.size(), what.size() + 1));
        uint32_t buttons = std::strchr(mods, 'r') != nullptr ? kRButton : kLButton;
        for (auto [c, flag] : {std::pair{'d', kDoubleClick}, {'c', kControl}, {'s', kShift}})
            if (std::strchr(mods, c) != nullptr) buttons |= flag;
        if (what == "set" || what == "poke") {
            std::sscanf(rest.c_str(), "%63s %f", text, &v);
            const bool all = std::string(text) == "all";
            for (int i = all ? 0 : std::atoi(text); i < (all ? kNumUserParams : std::atoi(text) + 1); ++i)
                what == "set" ? rig.effect->setParameter(i, v) : control(i)->setValue(v);
        }
        if (what == "key") {
            std::sscanf(rest.c_str(), "%63s %d", text, &n);
            const std::map<std::string, uint8_t> keys = {
                {"back", VKEY_BACK},   {"return", VKEY_RETURN}, {"escape", VKEY_ESCAPE},
                {"home", VKEY_HOME},   {"end", VKEY_END},       {"left", VKEY_LEFT},
                {"right", VKEY_RIGHT}, {"down", VKEY_DOWN},     {"delete", VKEY_DELETE}};
            for (; n > 0; --n) lastKey_ = rig.key(0, keys.at(text));
        }
        if (what == "type")
            for (char c : rest) lastKey_ = rig.key(c);
        if (what == "name") rig.effect->setProgramName(std::string(rest).data());
        if (what == "click") rig.click(CPoint(x, y), buttons);
        if (what == "press") rig.press(CPoint(x, y));
        if (what == "move") rig.moveTo(CPoint(x, y), kLButton);
        if (what == "release") rig.release(CPoint(x, y));
        if (what == "hover") rig.moveTo(CPoint(x, y)), rig.render();
        if (what == "idle") rig.editor->idle();
        if (what == "cc") rig.controlChange(x, y);
        if (what == "program") rig.effect->selectProgram(x);
        if (what == "assign") rig.effect->assignController(x, y);
        if (what == "unassign") rig.effect->unassignParameter(x);
        if (what == "manual") rig.editor->settings().openManual();
        if (what == "resume") rig.effect->resume();
        if (what == "audio") rig.runAudio(x);
        if (what == "cell") {
            auto* popup = dynamic_cast<COptionMenuPopup*>(rig.frame()->getModalView());
            ASSERT_NE(popup, nullptr);
            rig.click(centreOf(popup->getCellRect(x)));
        }
        for (int i = 0; what == "wait" && i < 500 && rig.frame()->inModalSession(); ++i) {
            rig.editor->idle();
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }

    int32_t lastKey_ = 0;  // the frame's answer to the last key
    static inline TempFolder* dir_ = nullptr;
    static inline ScopedEnv *config_ = nullptr, *selector_ = nullptr;
};

TEST_F(EditorScriptTest, EveryStepChangesWhatTheStoredScriptSays)
{
    std::vector<std::string> lines;
    std::map<std::string, std::string> before = state();
    for (const Step& step : kScript) {
        hostCalls().clear();
        for (const std::string& event : parts(step.event)) run(event);
        std::ostringstream line;
        line << step.event << " |";
        for (const HostCall& c : hostCalls()) {
            if (c.opcode == vst::audioMasterAutomate)
                line << " a" << c.index << '=' << Recorder::fmt(c.opt);
            else if (c.opcode == vst::audioMasterBeginEdit || c.opcode == vst::audioMasterEndEdit)
                line << (c.opcode == vst::audioMasterBeginEdit ? " b" : " e") << c.index;
            else if (c.opcode != vst::audioMasterPinConnected)  // asked while processing
                line << " host" << c.opcode;
        }
        line << " |";
        const std::map<std::string, std::string> now = state();
        for (const auto& [key, value] : now)
            if (before[key] != value) line << ' ' << key << '=' << (value.empty() ? " " : value);
        before = now;
        lines.push_back(line.str());
        for (const std::string& part : parts(step.expect))
            EXPECT_NE(lines.back().find(part), std::string::npos) << lines.back() << "\nlacks: " << part;
    }
    expectStoredLines(std::string(ORV_DEFAULT_SOURCE_DIR) + "/tests/unit/editor/data/script.txt", lines,
                      "ORV_UPDATE_EDITOR_SCRIPT");
    // Without a window the manual's message goes to the standard error.
    rig.editor->close();
    testing::internal::CaptureStderr();
    rig.editor->settings().openManual();
    EXPECT_NE(testing::internal::GetCapturedStderr().find("Could not open user manual"), std::string::npos);
}

}  // namespace
}  // namespace orv::test
