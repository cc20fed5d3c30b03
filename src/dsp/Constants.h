#pragma once

// Physical and numeric constants shared by the audio path.

namespace orv {

inline constexpr double kPi = 3.14159265358979323846;
inline constexpr double kTwoPi = 2.0 * kPi;   // exact doubling: 6.283185307179586
inline constexpr double kHalfPi = 0.5 * kPi;  // exact halving: 1.5707963267948966

inline constexpr double kSpeedOfSound = 340.29;  // m/s, in air at about 15 °C

// Added and subtracted again, this value rounds a decaying double-precision state to exactly 0
// once it falls far below it, so feedback paths never reach the slow denormal range.
inline constexpr double kFlush = 1e-12;

}  // namespace orv
