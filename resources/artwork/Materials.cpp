#include "Materials.h"

#include <algorithm>
#include <cmath>

#include "Palette.h"

namespace orv::art {

namespace {

double fbm(double x, double y, uint32_t seed)
{
    double sum = 0.0;
    double amp = 0.5;
    for (int octave = 0; octave < 4; ++octave) {
        sum += amp * valueNoise(x, y, seed + static_cast<uint32_t>(octave) * 101u);
        x *= 2.03;
        y *= 2.03;
        amp *= 0.5;
    }
    return sum / 0.9375;
}

}  // namespace

Rgb walnutShade(int x, int y)
{
    // Rings are stretched along x and bent by low-frequency noise; pores add fine dark flecks.
    const double warp = fbm(x * 0.006, y * 0.03, 11u) * 14.0;
    const double rings = 0.5 + 0.5 * std::sin((y + warp * 3.0) * 0.42 + fbm(x * 0.02, y * 0.08, 5u) * 6.0);
    const double streak = fbm(x * 0.004, y * 0.25, 23u);
    double t = 0.25 + 0.45 * rings * rings + 0.35 * (streak - 0.5);
    Rgb c = mix(palette::kWalnutDark, palette::kWalnutLight, std::clamp(t, 0.0, 1.0));
    const double pore = latticeNoise(x / 3, y, 7u);
    if (pore > 0.93) c = scale(c, 0.82);
    return scale(c, 0.96 + 0.08 * latticeNoise(x, y, 3u));
}

Rgb plateShade(int x, int y)
{
    // Horizontal brushing: noise stretched along x, with a faint per-pixel grain.
    const double brush = valueNoise(x * 0.03, y * 0.9, 41u) - 0.5;
    const double grain = latticeNoise(x, y, 43u) - 0.5;
    const double f = 1.0 + 0.10 * brush + 0.05 * grain;
    return scale(palette::kPlate, f);
}

Rgb stripShade(int x, int y)
{
    const double brush = valueNoise(x * 0.05, y * 1.1, 61u) - 0.5;
    const double grain = latticeNoise(x, y, 67u) - 0.5;
    return scale(palette::kStrip, 1.0 + 0.12 * brush + 0.06 * grain);
}

Rgb grilleShade(int x, int y)
{
    // A basket weave of warm threads: each 4 x 4 cell has its threads running one way.
    const int cx = (x + 1000) / 4;
    const int cy = (y + 1000) / 4;
    const bool across = ((cx + cy) & 1) == 0;
    const int along = across ? (y + 1000) % 4 : (x + 1000) % 4;
    const double thread = along == 0 ? 0.45 : (along == 3 ? 0.8 : 1.0);
    const double fleck = 0.9 + 0.2 * latticeNoise(x, y, 91u);
    const Rgb base{96, 74, 50};
    return scale(base, thread * fleck * (0.85 + 0.15 * valueNoise(x * 0.05, y * 0.05, 93u)));
}

}  // namespace orv::art
