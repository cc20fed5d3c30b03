// What makes the radiation core the horn's: ten or eleven rays (three for the horn heard at the
// drum microphone), two peaking direction filters per ray read from the horn's tables the other
// way round, the amplitude clip, and the horn's defaults.
#pragma once

#include <cstdint>

#include "dsp/BiquadFilter.h"
#include "dsp/HornNoisePlayer.h"
#include "engine/CabinetGeometry.h"
#include "engine/DirectionTables.h"
#include "engine/RayLayout.h"
#include "engine/RotorMotion.h"

namespace orv {

class RotorModel;

struct HornRadiation {
    using Face = RotorModel;
    using Player = HornNoisePlayer;

    // Ray gain slots, in the order of the horn's ray parameters.
    enum RayGain : int {
        kRay1Front,
        kRay2BackSides,
        kRay3BackRight,
        kRay4BackLeft,
        kRay5,
        kRay6,
        kRays7to10,
        kRayGainCount
    };

    static constexpr CabinetGeometry::Rotor kRotor = CabinetGeometry::Rotor::Horn;
    static constexpr RotorMotion::Sense kSense = RotorMotion::Sense::Horn;
    static constexpr int kMaxRays = 11;             // ten rays, plus the near side wall off axis
    static constexpr int kRayLanes = kMaxRays + 1;  // lanes come in pairs, or fours
    static constexpr int kFilterLanes = kRayLanes;
    static constexpr int kReflectionOrders = 5;
    static constexpr std::uint32_t kFilterType = BiquadFilter::typePeak;
    // The horn's tables run from the mouth facing away: they are read at 1 − u.
    static constexpr bool kTurnedTables = true;
    static constexpr rays::DirectionFilter kFilters[] = {
        {&DirectionTables::hornA, 36.0, true, true},
        // Filter B keeps its frequency and Q, so its saturation coefficient stays as it is.
        {&DirectionTables::hornB, 18.0, true, false},
    };
    static constexpr int kFilterSets = 2;
    // Ray gains clamped to [clip, 100]; the static ray's gain is clamped likewise.
    static constexpr bool kClip = true;
    // The facing sine is not limited.
    static constexpr bool kFacingFloor = false;
    static constexpr double kMinFacing = -1.0;
    // The two farthest rays (8 and 9) share ray 8's amplitude gain.
    static constexpr int kSharedGainRay = 9;
    // The static cutoff acts at once (not at the next re-tune).
    static constexpr bool kStaticPoleAtRetune = false;

    static constexpr double kDefaultStaticRayGain = 0.5;
    static constexpr double kDefaultReflectionLpf = 0.7;
    static constexpr double kDefaultStaticCutoff = 2000.0;
    static constexpr double kDefaultSaturation = 0.0;
    static constexpr double kDefaultLpfCutLow = 200.0;

    // Rays 0–9 of every variant, then the side wall next to the microphone (variants A, B).
    static constexpr rays::Slot kMicSlots[] = {
        {0, kRay1Front, 0, false, -1, 0.0, rays::kEveryVariant},
        {1, kRay2BackSides, 1, true, 0, 0.0, rays::kEveryVariant},
        {2, kRay3BackRight, 2, true, 1, 0.0, rays::kEveryVariant},
        {3, kRay4BackLeft, 2, true, 1, 0.0, rays::kEveryVariant},
        {4, kRay5, 3, true, 2, 0.0, rays::kEveryVariant},
        {5, kRay6, 3, true, 2, 0.0, rays::kEveryVariant},
        {8, kRays7to10, 4, false, 3, 0.0, rays::kEveryVariant},
        {9, kRays7to10, 4, false, 3, 0.0, rays::kEveryVariant},
        {10, kRays7to10, 5, false, 4, 0.0, rays::kEveryVariant},
        {11, kRays7to10, 5, false, 4, 0.0, rays::kEveryVariant},
        {6, kRay2BackSides, 1, false, 0, 0.0, CabinetGeometry::kSideA},  // image in the +x wall
        {7, kRay2BackSides, 1, false, 0, 0.0, CabinetGeometry::kSideB},  // image in the −x wall
    };
    static constexpr rays::Set kMicRaySet = {kMicSlots, 12, 0.0};

    // The horn heard through the cabinet's partition at the drum microphone: direct ray,
    // back-wall ray and the first side-wall ray (the latter two × c), each through a one-pole
    // low-pass darker than the open paths: the direct ray keeps the most top end, the two wall
    // rays less, the static ray least.
    static constexpr rays::Slot kLeakSlots[] = {
        {0, kRay1Front, 0, false, -1, 5000.0, rays::kEveryVariant},
        {1, -1, 1, false, -1, 3500.0, rays::kEveryVariant},
        {6, -1, 1, false, -1, 3500.0, rays::kEveryVariant},
    };
    static constexpr int kLeakRays = 3;
    static constexpr rays::Set kLeakRaySet = {kLeakSlots, kLeakRays, 2500.0};
};

}  // namespace orv
