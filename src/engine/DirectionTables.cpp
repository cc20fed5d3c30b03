#include "engine/DirectionTables.h"

namespace orv {

namespace {

// Horn filter A, rows 0 … 18; rows 19 … 36 repeat rows 17 … 0.
// clang-format off
constexpr double kHornAHz[DirectionTables::kHalfRows] = {2200, 2170, 2050, 2000, 2000, 1930, 1850,
                                                         1780, 1730, 1670, 1620, 1480, 1360, 1320,
                                                         1300, 1500, 1630, 1680, 1700};
constexpr double kHornAQ[DirectionTables::kHalfRows] = {1.4, 1.32, 1.15, 1.2, 1.3, 1.6, 2,
                                                        3.6, 5.9, 3.2, 1.37, 1.22, 1, 0.9,
                                                        0.8, 1, 1.28, 1.9, 2.35};
constexpr double kHornADb[DirectionTables::kHalfRows] = {7, 5, -3, -8, -12, -15, -18,
                                                         -22, -28, -24, -18, -16, -14.5, -14,
                                                         -14.2, -15, -16, -17, -19};

constexpr double kHornBDb[DirectionTables::kHalfRows] = {6, 2, -7, -9, -12, -10, -9, -8, -6, -2,
                                                         -6, -8, -9, -10, -12, -9, -7, 2, 6};

constexpr double kDrumHz[DirectionTables::kHalfRows] = {1600, 1300, 1200, 1050, 1000, 950, 900,
                                                        900, 900, 900, 900, 900, 900, 950,
                                                        1000, 1050, 1200, 1300, 1600};
constexpr double kDrumQ[DirectionTables::kHalfRows] = {1.2, 0.85, 0.7, 0.65, 0.55, 0.42, 0.37,
                                                       0.34, 0.32, 0.31, 0.32, 0.34, 0.37, 0.42,
                                                       0.55, 0.65, 0.7, 0.85, 1.2};
// clang-format on

// Row of horn filter A for a full-turn row index 0 … 36.
int hornARow(int i)
{
    constexpr int kMirror = DirectionTables::kHornARows - 1;  // row 36 is row 0 again
    return i < DirectionTables::kHalfRows ? i : kMirror - i;
}

// Splits x into a row and a fraction; the last row holds at and beyond the end.
void locate(double x, int rows, int& i, double& f)
{
    if (!(x > 0.0)) {
        i = 0;
        f = 0.0;
        return;
    }
    if (x >= rows - 1) {  // tested before the conversion, which would overflow for huge x
        i = rows - 2;
        f = 1.0;
        return;
    }
    i = static_cast<int>(x);
    f = x - i;
}

double lerp(double a, double b, double f) { return a + (b - a) * f; }

}  // namespace

FilterSetting DirectionTables::hornA(double x)
{
    int i;
    double f;
    locate(x, kHornARows, i, f);
    const int r0 = hornARow(i), r1 = hornARow(i + 1);
    return {lerp(kHornAHz[r0], kHornAHz[r1], f), lerp(kHornAQ[r0], kHornAQ[r1], f),
            lerp(kHornADb[r0], kHornADb[r1], f)};
}

FilterSetting DirectionTables::hornB(double x)
{
    int i;
    double f;
    locate(x, kHalfRows, i, f);
    return {kHornBFrequency, kHornBQ, lerp(kHornBDb[i], kHornBDb[i + 1], f)};
}

FilterSetting DirectionTables::drum(double x)
{
    int i;
    double f;
    locate(x, kHalfRows, i, f);
    return {lerp(kDrumHz[i], kDrumHz[i + 1], f), lerp(kDrumQ[i], kDrumQ[i + 1], f), 0.0};
}

}  // namespace orv
