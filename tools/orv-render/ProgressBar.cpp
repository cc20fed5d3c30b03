#include "orv-render/ProgressBar.h"

#include <algorithm>
#include <cstdio>

#include "orv-render/SystemCalls.h"

namespace orv {

namespace {
constexpr int kWidth = 32;  // characters between the brackets
constexpr int kPermille = 1000;
}  // namespace

ProgressBar::ProgressBar(long total, double rate, bool enabled)
    : total_(total), rate_(rate), enabled_(enabled && total > 0)
{}

ProgressBar::~ProgressBar() { finish(); }

bool ProgressBar::wanted(long total, double rate)
{
    return standardErrorIsTerminal() && rate > 0 && static_cast<double>(total) / rate >= kMinSeconds;
}

void ProgressBar::update(long done)
{
    if (!enabled_) return;
    const int permille =
        static_cast<int>(std::min<long long>(kPermille, static_cast<long long>(done) * kPermille / total_));
    if (permille == lastPermille_) return;
    lastPermille_ = permille;
    char bar[kWidth + 1];
    const int filled = permille * kWidth / kPermille;
    for (int i = 0; i < kWidth; ++i) bar[i] = i < filled ? '#' : '-';
    bar[kWidth] = '\0';
    std::fprintf(stderr, "\rrendering [%s] %3d%%  %.1f / %.1f s", bar, permille / 10, static_cast<double>(done) / rate_,
                 static_cast<double>(total_) / rate_);
    std::fflush(stderr);
    drawn_ = true;
}

void ProgressBar::finish()
{
    if (drawn_) {
        std::fprintf(stderr, "\r\033[K");  // back to the line start and clear it
        std::fflush(stderr);
    }
    drawn_ = false;
}

}  // namespace orv
