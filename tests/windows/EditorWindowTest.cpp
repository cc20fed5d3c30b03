// The module's editor on Windows (run under wine and Xvfb), as a host opens it: a child of the
// host's window, showing exactly the pixels of the same editor rendered offscreen with GDI+ in
// this process, and a drag on a knob that reaches the parameter and the host. The window shows
// the backing image unscaled (SetDIBitsToDevice), so the comparison allows no difference.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "editor/RotaryEditor.h"
#include "host/vst2.h"
#include "params/ParameterIndex.h"
#include "plugin/RotaryEffect.h"
#include "support/RecordingHost.h"
#include "toolkit/CFrame.h"

namespace orv::test {
namespace {

constexpr int kWidth = 448;
constexpr int kHeight = 696;

class EditorWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // wine shows windows on an X display (xvfb-run gives one).
        if (std::getenv("DISPLAY") == nullptr) GTEST_SKIP() << "no DISPLAY to open windows on";
        // The build folder's path, seen from wine's drive Z: (the file system root).
        std::string path = std::string("Z:") + ORV_DEFAULT_MODULE;
        for (char& c : path)
            if (c == '/') c = '\\';
        module = LoadLibraryA(path.c_str());
        ASSERT_NE(module, nullptr) << "cannot load the module";
        auto entry = reinterpret_cast<vst::AEffect* (*)(vst::HostCallback)>(
            reinterpret_cast<void*>(GetProcAddress(module, "VSTPluginMain")));
        ASSERT_NE(entry, nullptr);
        effect = entry(recordingHost);
        ASSERT_NE(effect, nullptr);
        dispatch(vst::effOpen);

        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"OrvTestHostWindow";
        RegisterClassW(&wc);
        RECT r{0, 0, kWidth, kHeight};
        AdjustWindowRect(&r, WS_OVERLAPPEDWINDOW, FALSE);
        host = CreateWindowW(wc.lpszClassName, L"host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, r.right - r.left,
                             r.bottom - r.top, nullptr, nullptr, wc.hInstance, nullptr);
        ASSERT_NE(host, nullptr) << "no window (is DISPLAY set?)";
        movePointerAway();
    }
    // Nothing in the editor shows a hover state.
    void movePointerAway() { SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 5, GetSystemMetrics(SM_CYSCREEN) - 5); }
    void TearDown() override
    {
        if (effect != nullptr) dispatch(vst::effClose);
        if (host != nullptr) DestroyWindow(host);
        if (module != nullptr) FreeLibrary(module);
    }

    vst::iptr dispatch(vst::i32 opcode, vst::iptr value = 0, void* ptr = nullptr)
    {
        return effect->dispatcher(effect, opcode, 0, value, ptr, 0.0f);
    }
    // The host's message loop and its editor idles, a little apart.
    void idle(int times)
    {
        for (int i = 0; i < times; ++i) {
            MSG msg;
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
            dispatch(vst::effEditIdle);
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }
    // Pixels of the editor's window whose colour differs from the image.
    int mismatchesAgainst(NativeSurface* expected)
    {
        HWND child = GetWindow(host, GW_CHILD);
        if (child == nullptr) return -1;
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), kWidth, -kHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        HDC screen = GetDC(child);
        HDC memory = CreateCompatibleDC(screen);
        HBITMAP shot = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ old = SelectObject(memory, shot);
        BitBlt(memory, 0, 0, kWidth, kHeight, screen, 0, 0, SRCCOPY);
        GdiFlush();
        const SurfacePixels want = readSurfacePixels(expected);
        int bad = 0;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                const uint32_t got = static_cast<const uint32_t*>(bits)[y * kWidth + x];
                const uint32_t w = reinterpret_cast<const uint32_t*>(want.data + y * want.stride)[x];
                if (((got ^ w) & 0xffffffu) != 0) ++bad;
            }
        SelectObject(memory, old);
        DeleteObject(shot);
        DeleteDC(memory);
        ReleaseDC(child, screen);
        return bad;
    }
    // Real input: the pointer moves, presses, drags and releases through the system's queue.
    void drag(POINT from, POINT to)
    {
        ClientToScreen(host, &from);
        ClientToScreen(host, &to);
        SetCursorPos(from.x, from.y);
        idle(2);
        INPUT press{};
        press.type = INPUT_MOUSE;
        press.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
        SendInput(1, &press, sizeof press);
        idle(2);
        for (int step = 1; step <= 4; ++step) {
            SetCursorPos(from.x + (to.x - from.x) * step / 4, from.y + (to.y - from.y) * step / 4);
            idle(1);
        }
        INPUT release{};
        release.type = INPUT_MOUSE;
        release.mi.dwFlags = MOUSEEVENTF_LEFTUP;
        SendInput(1, &release, sizeof release);
        idle(3);
    }
    static int calls(vst::i32 opcode, vst::i32 index)
    {
        int n = 0;
        for (const HostCall& c : callsWith(opcode)) n += c.index == index;
        return n;
    }

    HMODULE module = nullptr;
    vst::AEffect* effect = nullptr;
    HWND host = nullptr;
};

TEST_F(EditorWindowTest, OpensAsAChildShowsTheOffscreenRenderAndAKnobDragReachesTheHost)
{
    vst::ERect* rect = nullptr;
    ASSERT_EQ(dispatch(vst::effEditGetRect, 0, &rect), 1);
    ASSERT_EQ(rect->right - rect->left, kWidth);
    ASSERT_EQ(rect->bottom - rect->top, kHeight);
    ASSERT_EQ(dispatch(vst::effEditOpen, 0, host), 1);
    idle(10);
    HWND child = GetWindow(host, GW_CHILD);
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(GetAncestor(child, GA_PARENT), host);

    // The same editor, built in this process, rendered without a window.
    RotaryEffect reference(recordingHost);
    auto* editor = static_cast<RotaryEditor*>(reference.getEditor());
    ASSERT_TRUE(editor->openOffscreen());
    editor->idle();
    EXPECT_EQ(mismatchesAgainst(editor->getFrame()->getBackingSurface()), 0);

    // Horn "Gain" knob (361..405, 56..100): dragged upwards it rises, the host hears of it as
    // one edit, and the window shows what the offscreen editor shows at that value.
    const float before = effect->getParameter(effect, param::kHGain);
    hostCalls().clear();
    drag({383, 78}, {383, 48});
    const float after = effect->getParameter(effect, param::kHGain);
    EXPECT_GT(after, before);
    EXPECT_GT(calls(vst::audioMasterAutomate, param::kHGain), 0);
    EXPECT_EQ(calls(vst::audioMasterBeginEdit, param::kHGain), 1);
    EXPECT_EQ(calls(vst::audioMasterEndEdit, param::kHGain), 1);
    movePointerAway();
    reference.setParameter(param::kHGain, after);
    idle(10);
    editor->idle();
    EXPECT_EQ(mismatchesAgainst(editor->getFrame()->getBackingSurface()), 0);
    editor->close();

    dispatch(vst::effEditClose);
    EXPECT_EQ(GetWindow(host, GW_CHILD), nullptr);
}

}  // namespace
}  // namespace orv::test
