// File selector: the dialog program's arguments, its answer read at idle, cancel, and the
// frame's modal state while it runs. The dialog is a script named by ORV_FILE_SELECTOR that
// answers as zenity does.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

#include "support/TempFolder.h"
#include "toolkit/CNewFileSelector.h"
#include "unit/toolkit/ToolkitTestSupport.h"

namespace orv::test {
namespace {

class FileSelectorTest : public ::testing::Test {
protected:
    void TearDown() override { unsetenv(CNewFileSelector::kCommandVariable); }
    // A dialog that records its arguments (one per line), prints `answer` and exits with `status`.
    void writeScript(const std::string& answer, int status) {
        std::ofstream s(script);
        s << "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > '" << argsFile << "'\n";
        if (!answer.empty()) s << "printf '%s\\n' '" << answer << "'\n";
        s << "exit " << status << "\n";
        s.close();
        chmod(script.c_str(), 0755);
        setenv(CNewFileSelector::kCommandVariable, script.c_str(), 1);
    }
    std::vector<std::string> recordedArgs() const {
        std::ifstream in(argsFile);
        std::vector<std::string> args;
        std::string line;
        while (std::getline(in, line)) args.push_back(line);
        return args;
    }
    // Idles the frame until the callback ran (at most 5 s).
    bool runToCompletion(bool& done) {
        for (int i = 0; i < 500 && !done; ++i) {
            fx.frame->idle();
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return done;
    }
    static bool contains(const std::vector<std::string>& v, const std::string& s) {
        return std::find(v.begin(), v.end(), s) != v.end();
    }

    OffscreenFixture fx;
    TempFolder dir;
    std::string script = dir.file("dialog.sh"), argsFile = dir.file("args");
};

TEST_F(FileSelectorTest, OpenDialogAnswersTheChosenFileAtIdle) {
    writeScript("/home/user/presets/Warm.orv", 0);
    CNewFileSelector* sel = CNewFileSelector::create(fx.frame, CNewFileSelector::kSelectFile);
    sel->setTitle("Load preset");
    sel->setInitialDirectory("/home/user/presets");
    sel->addFileExtension({"Orv Preset", "orv"});
    bool done = false;
    std::vector<std::string> chosen;
    ASSERT_TRUE(sel->run([&](CNewFileSelector* s) {
        done = true;
        for (int i = 0; i < s->getNumSelectedFiles(); ++i) chosen.emplace_back(s->getSelectedFile(i));
    }));
    sel->forget();  // the running dialog keeps itself alive
    EXPECT_TRUE(fx.frame->inModalSession());
    ASSERT_TRUE(runToCompletion(done));
    EXPECT_FALSE(fx.frame->inModalSession());
    EXPECT_EQ(chosen, std::vector<std::string>{"/home/user/presets/Warm.orv"});
    const std::vector<std::string> args = recordedArgs();
    EXPECT_TRUE(contains(args, "--file-selection"));
    EXPECT_TRUE(contains(args, "--title=Load preset"));
    EXPECT_TRUE(contains(args, "--filename=/home/user/presets/"));
    EXPECT_TRUE(contains(args, "--file-filter=Orv Preset (*.orv) | *.orv"));
    EXPECT_FALSE(contains(args, "--save"));
}

TEST_F(FileSelectorTest, SaveDialogAsksForConfirmationAndAddsTheExtension) {
    writeScript("/tmp/bank one", 0);
    CNewFileSelector* sel = CNewFileSelector::create(fx.frame, CNewFileSelector::kSelectSaveFile);
    sel->setTitle("Save bank");
    sel->setInitialDirectory("/tmp");
    sel->setDefaultSaveName("Default.ovb");
    sel->addFileExtension({"Orv Bank", "ovb"});
    bool done = false;
    std::string chosen;
    ASSERT_TRUE(sel->run([&](CNewFileSelector* s) {
        done = true;
        if (s->getNumSelectedFiles() == 1) chosen = s->getSelectedFile(0);
    }));
    sel->forget();
    ASSERT_TRUE(runToCompletion(done));
    EXPECT_EQ(chosen, "/tmp/bank one.ovb");
    const std::vector<std::string> args = recordedArgs();
    EXPECT_TRUE(contains(args, "--save"));
    EXPECT_TRUE(contains(args, "--confirm-overwrite"));
    EXPECT_TRUE(contains(args, "--filename=/tmp/Default.ovb"));
}

TEST_F(FileSelectorTest, CancelledDialogAnswersNoFile) {
    writeScript("", 1);
    CNewFileSelector* sel = CNewFileSelector::create(fx.frame, CNewFileSelector::kSelectFile);
    bool done = false;
    int count = -1;
    ASSERT_TRUE(sel->run([&](CNewFileSelector* s) {
        done = true;
        count = s->getNumSelectedFiles();
    }));
    sel->forget();
    ASSERT_TRUE(runToCompletion(done));
    EXPECT_EQ(count, 0);
}

TEST_F(FileSelectorTest, InputIsBlockedWhileTheDialogIsOpenAndClosingTheFrameEndsIt) {
    {
        std::ofstream s(script);
        s << "#!/bin/sh\nexec sleep 30\n";
    }
    chmod(script.c_str(), 0755);
    setenv(CNewFileSelector::kCommandVariable, script.c_str(), 1);
    fx.add(new CControl(CRect(0, 0, 20, 20), &fx.recorder, 1));
    CNewFileSelector* sel = CNewFileSelector::create(fx.frame, CNewFileSelector::kSelectFile);
    bool called = false;
    ASSERT_TRUE(sel->run([&](CNewFileSelector*) { called = true; }));
    sel->remember();  // observe it after the frame is gone
    sel->forget();
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
}

TEST_F(FileSelectorTest, AMissingProgramMakesRunFail) {
    setenv(CNewFileSelector::kCommandVariable, "/nonexistent/dialog", 1);
    CNewFileSelector* sel = CNewFileSelector::create(fx.frame, CNewFileSelector::kSelectFile);
    EXPECT_FALSE(sel->run([](CNewFileSelector*) {}));
    EXPECT_FALSE(fx.frame->inModalSession());
    sel->forget();
}

}  // namespace
}  // namespace orv::test
