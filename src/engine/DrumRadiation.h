// What makes the radiation core the drum's: up to six rays (one of the two side walls at a
// time), one low-pass direction filter per ray, the facing sine limited below, no amplitude
// clip, the static pole taken over at re-tunes, and the drum's defaults.
#pragma once

#include <cstdint>

#include "dsp/BiquadFilter.h"
#include "dsp/DrumNoisePlayer.h"
#include "engine/CabinetGeometry.h"
#include "engine/DirectionTables.h"
#include "engine/RayLayout.h"
#include "engine/RotorMotion.h"

namespace orv {

class LightRotorModel;

struct DrumRadiation {
    using Face = LightRotorModel;
    using Player = DrumNoisePlayer;

    // Ray gain slots, in the order of the drum's ray parameters.
    enum RayGain : int { kRay1Front, kRay2BackSides, kRay3BackLeft, kRay4BackRight, kRayGainCount };

    static constexpr CabinetGeometry::Rotor kRotor = CabinetGeometry::Rotor::Drum;
    static constexpr RotorMotion::Sense kSense = RotorMotion::Sense::Drum;
    static constexpr int kMaxRays = 6;
    static constexpr int kRayLanes = 8;  // lanes come in fours in the AVX2 kernels
    // Eight filter lanes rather than six: g++ keeps a bank of up to six lanes whole in
    // registers and stack slots, which is slower.
    static constexpr int kFilterLanes = 8;
    static constexpr int kReflectionOrders = 2;
    // A second-order low-pass that opens when the drum faces the microphone (1.6 kHz, slightly
    // resonant) and closes to a gentle 900 Hz facing away.
    static constexpr std::uint32_t kFilterType = BiquadFilter::typeLowPass2;
    static constexpr bool kTurnedTables = false;
    static constexpr rays::DirectionFilter kFilters[] = {{&DirectionTables::drum, 18.0, false, true}};
    static constexpr int kFilterSets = 1;
    static constexpr bool kClip = false;
    static constexpr bool kFacingFloor = true;
    static constexpr double kMinFacing = -0.7;  // lower limit of the drum's facing sine
    static constexpr int kSharedGainRay = -1;
    static constexpr bool kStaticPoleAtRetune = true;

    static constexpr double kDefaultStaticRayGain = 0.0;
    static constexpr double kDefaultReflectionLpf = 0.26;
    static constexpr double kDefaultStaticCutoff = 20000.0;
    static constexpr double kDefaultSaturation = 0.016;
    static constexpr double kDefaultLpfCutLow = 10000.0;

    // Rays 1 and 2 are the two side walls; only the one next to the microphone is used.
    static constexpr rays::Slot kSlots[] = {
        {0, kRay1Front, 0, false, -1, 0.0, rays::kEveryVariant},
        {1, kRay2BackSides, 1, false, 0, 0.0, CabinetGeometry::kSideA},
        {2, kRay2BackSides, 1, false, 0, 0.0, CabinetGeometry::kSideB},
        {3, kRay2BackSides, 1, false, 0, 0.0, rays::kEveryVariant},
        {4, kRay3BackLeft, 2, false, 1, 0.0, rays::kEveryVariant},
        {5, kRay4BackRight, 2, false, 1, 0.0, rays::kEveryVariant},
    };
    static constexpr rays::Set kRaySet = {kSlots, 6, 0.0};
};

}  // namespace orv
