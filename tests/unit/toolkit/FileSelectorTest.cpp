// File selector: the dialog program's arguments, its answer read at idle, cancel, and the
// frame's modal state while it runs. The dialog is a script named by ORV_FILE_SELECTOR that
// answers as zenity does.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <fstream>
#include <thread>

#include "support/TempFolder.h"
#include "toolkit/CNewFileSelector.h"
#include "unit/toolkit/ToolkitTestSupport.h"

namespace orv::test {
namespace {

using Lines = std::vector<std::string>;

class FileSelectorTest : public ::testing::Test {
protected:
    // A dialog whose script body is `body`; the arguments it got are written one per line.
    void useScript(const std::string& body)
    {
        std::ofstream(script) << "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > '" << argsFile << "'\n"
                              << body;
        chmod(script.c_str(), 0755);
    }
    // Runs a dialog that prints `answer` and exits with `status`; answers the chosen files.
    Lines run(CNewFileSelector* sel, const std::string& answer, int status)
    {
        useScript((answer.empty() ? "" : "printf '%s\\n' '" + answer + "'\n") + "exit " + std::to_string(status) +
                  "\n");
        bool done = false;
        Lines chosen;
        EXPECT_TRUE(sel->run([&](CNewFileSelector* s) {
            done = true;
            for (int i = 0; i < s->getNumSelectedFiles(); ++i) chosen.emplace_back(s->getSelectedFile(i));
        }));
        sel->forget();  // the running dialog keeps itself alive
        EXPECT_TRUE(fx.frame->inModalSession());
        for (int i = 0; i < 500 && !done; ++i) {
            fx.frame->idle();
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        EXPECT_TRUE(done);
        EXPECT_FALSE(fx.frame->inModalSession());
        return chosen;
    }
    bool passed(const std::string& arg) const
    {
        std::ifstream in(argsFile);
        for (std::string line; std::getline(in, line);)
            if (line == arg) return true;
        return false;
    }

    OffscreenFixture fx;
    TempFolder dir;
    std::string script = dir.file("dialog.sh"), argsFile = dir.file("args");
    ScopedEnv command{CNewFileSelector::kCommandVariable, script};
};

// Titles and filters of the panel's dialogs are checked with the dialogs themselves.
TEST_F(FileSelectorTest, OpenAndSaveDialogsAnswerTheChosenFileAtIdleAndCancelAnswersNone)
{
    CNewFileSelector* open = CNewFileSelector::create(fx.frame, CNewFileSelector::kSelectFile);
    open->setInitialDirectory("/home/user/presets");
    EXPECT_EQ(run(open, "/home/user/presets/Warm.orv", 0), Lines{"/home/user/presets/Warm.orv"});
    EXPECT_TRUE(passed("--file-selection") && passed("--filename=/home/user/presets/") && !passed("--save"));
    // Saving asks for confirmation, starts at the default name and adds the extension.
    CNewFileSelector* save = CNewFileSelector::create(fx.frame, CNewFileSelector::kSelectSaveFile);
    save->setInitialDirectory("/tmp");
    save->setDefaultSaveName("Default.ovb");
    save->addFileExtension({"Orv Bank", "ovb"});
    EXPECT_EQ(run(save, "/tmp/bank one", 0), Lines{"/tmp/bank one.ovb"});
    EXPECT_TRUE(passed("--save") && passed("--confirm-overwrite") && passed("--filename=/tmp/Default.ovb"));
    EXPECT_TRUE(run(CNewFileSelector::create(fx.frame, CNewFileSelector::kSelectFile), "", 1).empty());
}

TEST_F(FileSelectorTest, InputIsBlockedWhileTheDialogIsOpenAndClosingTheFrameEndsIt)
{
    useScript("exec sleep 30\n");
    fx.add(new CControl(CRect(0, 0, 20, 20), &fx.recorder, 1));
    CNewFileSelector* sel = CNewFileSelector::create(fx.frame, CNewFileSelector::kSelectFile);
    bool called = false;
    ASSERT_TRUE(sel->run([&](CNewFileSelector*) { called = true; }));
    fx.frame->idle();
    EXPECT_TRUE(sel->isRunning());
    VstKeyCode k{'a', 0, 0};
    EXPECT_EQ(fx.frame->onKeyDown(k), -1);
    const auto t0 = std::chrono::steady_clock::now();
    fx.frame->forget();  // the frame goes away with the dialog still open
    fx.frame = new CFrame(CRect(0, 0, 10, 10), nullptr, nullptr);
    EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(5));
    EXPECT_FALSE(sel->isRunning());
    EXPECT_FALSE(called);
    sel->forget();

    // A missing program makes run fail.
    ScopedEnv missing(CNewFileSelector::kCommandVariable, "/nonexistent/dialog");
    sel = CNewFileSelector::create(fx.frame, CNewFileSelector::kSelectFile);
    EXPECT_FALSE(sel->run([](CNewFileSelector*) {}));
    EXPECT_FALSE(fx.frame->inModalSession());
    sel->forget();
}

}  // namespace
}  // namespace orv::test
