// The whole editor driven by one script of user and host events: parameter changes reaching the
// controls at the next idle, gestures reaching the effect and the host (begin, automation, end),
// the speed button's pedal modes, the channel rocker, the program menu, rocker and name field,
// learn and forget, the controller display, the default and memo buttons and the manual's
// message box. The steps are data (data/script-steps.txt, events as EditorRig::run takes them).
// After each step everything that changed is written on one line; the lines are stored beside
// the test (data/script.txt, rewritten with ORV_UPDATE_EDITOR_SCRIPT=1). Steps with a
// hand-worked result also name, after " => ", parts that their line must contain.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

#include "editor/CMessageBoxView.h"
#include "editor/CMidiParamDisplay.h"
#include "editor/COrvTextEdit.h"
#include "editor/CSplashScreenMyView.h"
#include "editor/OrvMarker.h"
#include "support/StoredLines.h"
#include "support/TempFolder.h"
#include "toolkit/COptionMenu.h"
#include "unit/editor/EditorRig.h"
#include "unit/toolkit/ToolkitTestSupport.h"

namespace orv::test {
namespace {

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
        s["key"] = std::to_string(rig.lastKey);
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

    static inline TempFolder* dir_ = nullptr;
    static inline ScopedEnv *config_ = nullptr, *selector_ = nullptr;
};

TEST_F(EditorScriptTest, EveryStepChangesWhatTheStoredScriptSays)
{
    std::vector<std::string> lines;
    std::map<std::string, std::string> before = state();
    std::ifstream steps(std::string(ORV_DEFAULT_SOURCE_DIR) + "/tests/unit/editor/data/script-steps.txt");
    for (std::string step; std::getline(steps, step);) {
        if (step.empty() || step[0] == '#') continue;
        const size_t arrow = step.find(" => ");
        const std::string events = step.substr(0, arrow), expect = arrow == step.npos ? "" : step.substr(arrow + 4);
        hostCalls().clear();
        rig.run(events);
        std::ostringstream line;
        line << events << " |";
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
        for (const std::string& part : parts(expect))
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
