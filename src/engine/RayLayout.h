// Ray set-up shared by the horn and drum models: the per-ray direction values derived from an
// image source, and the copy of the rays into their field-by-field lanes.
#pragma once

#include "engine/AttenuationTable.h"
#include "engine/CabinetGeometry.h"

namespace orv::rays {

// Fills the direction-dependent fields of a ray from its image source and the rotor radius.
template <typename Ray>
inline void setDirection(Ray& r, const ImageSource& s, double radius) {
    constexpr double kPi = 3.14159265358979323846;
    r.sm = s.mirrorSign;
    r.phiSm = s.direction * s.mirrorSign;
    r.halfWidth = s.halfWidth;
    r.nearScale = kPi / (2.0 * s.halfWidth);
    r.farScale = kPi / (1.0 - 2.0 * s.halfWidth);
    r.tableBase = (s.distance - AttenuationTable::kReference + radius) * AttenuationTable::kEntriesPerMetre;
}

// Copies the per-sample values of rays 0 .. count - 1 into their lanes.
template <typename Ray, typename Lanes>
inline void copyLanes(const Ray* rays, int count, Lanes& l) {
    for (int k = 0; k < count; ++k) {
        const Ray& r = rays[k];
        l.delay[k] = r.delay;
        l.phiSm[k] = r.phiSm;
        l.halfWidth[k] = r.halfWidth;
        l.nearScale[k] = r.nearScale;
        l.farScale[k] = r.farScale;
        l.sm[k] = r.sm;
        l.tableBase[k] = r.tableBase;
        l.scale[k] = r.scale;
        l.pole[k] = r.pole;
    }
}

}  // namespace orv::rays
