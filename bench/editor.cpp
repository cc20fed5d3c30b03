// Cost of opening the editor: CPU time of open, first paint and close of an editor whose
// effect has opened one before (what a host pays each time the user shows the window), and
// the heap an open editor holds.

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <memory>
#include <vector>

#include "editor/RotaryEditor.h"
#include "plugin/RotaryEffect.h"
#include "toolkit/CFrame.h"

// After the project's headers: Xlib defines macros (None, Bool) that clash with their names.
#include <X11/Xlib.h>

namespace {

using orv::RotaryEditor;
using orv::RotaryEffect;

RotaryEditor* editorOf(RotaryEffect& fx) { return static_cast<RotaryEditor*>(fx.getEditor()); }

void openAndPaint(RotaryEditor* editor)
{
    if (!editor->openOffscreen()) return;
    editor->idle();
    benchmark::DoNotOptimize(editor->getFrame()->getBackingSurface());
}

double heapBytes() { return static_cast<double>(mallinfo2().uordblks); }

void BM_EditorReopen(benchmark::State& state)
{
    RotaryEffect fx(nullptr);
    RotaryEditor* editor = editorOf(fx);
    openAndPaint(editor);
    editor->close();
    for (auto _ : state) {
        openAndPaint(editor);
        editor->close();
    }
}
BENCHMARK(BM_EditorReopen)->Unit(benchmark::kMillisecond);

// The same in an X11 window (needs DISPLAY, e.g. under Xvfb): the child window, its display
// connection and shared-memory image, the first paint presented.
void BM_EditorReopenInWindow(benchmark::State& state)
{
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        state.SkipWithError("no X display");
        return;
    }
    const Window parent = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 448, 696, 0, 0, 0);
    XMapWindow(display, parent);
    XSync(display, False);
    RotaryEffect fx(nullptr);
    RotaryEditor* editor = editorOf(fx);
    auto openInWindow = [&] {
        editor->open(reinterpret_cast<void*>(parent));
        editor->idle();
        editor->close();
    };
    openInWindow();
    for (auto _ : state) openInWindow();
    XDestroyWindow(display, parent);
    XCloseDisplay(display);
}
BENCHMARK(BM_EditorReopenInWindow)->Unit(benchmark::kMillisecond);

// Heap held by each of four editors open at once (four effect instances), beyond what the
// instances hold with their editors closed.
void BM_EditorHeapPerOpenEditor(benchmark::State& state)
{
    constexpr int kEditors = 4;
    std::vector<std::unique_ptr<RotaryEffect>> effects;
    for (int i = 0; i < kEditors; ++i) effects.push_back(std::make_unique<RotaryEffect>(nullptr));
    double perEditor = 0.0;
    for (auto _ : state) {
        const double before = heapBytes();
        for (auto& fx : effects) openAndPaint(editorOf(*fx));
        perEditor = (heapBytes() - before) / kEditors;
        for (auto& fx : effects) editorOf(*fx)->close();
    }
    state.counters["MB_per_editor"] = perEditor / (1024.0 * 1024.0);
}
BENCHMARK(BM_EditorHeapPerOpenEditor)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
