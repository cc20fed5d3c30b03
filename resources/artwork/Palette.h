#pragma once

#include "ArtCanvas.h"

// The colours of the instrument panel: a dark walnut cabinet, charcoal control plates, brass
// trim and warm amber lamps and lettering.
namespace orv::art::palette {

inline constexpr Rgb kWalnutDark{34, 21, 14};
inline constexpr Rgb kWalnut{66, 41, 26};
inline constexpr Rgb kWalnutLight{92, 59, 37};

inline constexpr Rgb kPlate{31, 28, 26};
inline constexpr Rgb kPlateDark{20, 18, 17};
inline constexpr Rgb kStrip{18, 17, 16};

inline constexpr Rgb kBrass{204, 160, 92};
inline constexpr Rgb kBrassLight{238, 204, 140};
inline constexpr Rgb kBrassDark{118, 86, 46};

inline constexpr Rgb kCream{238, 226, 202};
inline constexpr Rgb kLabel{226, 212, 184};
inline constexpr Rgb kHeading{222, 166, 86};
inline constexpr Rgb kDimText{150, 138, 118};

inline constexpr Rgb kAmber{255, 166, 52};
inline constexpr Rgb kAmberDim{96, 62, 26};
inline constexpr Rgb kRed{255, 72, 44};

inline constexpr Rgb kWindow{11, 10, 9};
inline constexpr Rgb kLcd{236, 226, 200};

inline constexpr Rgb kCapTop{74, 68, 62};
inline constexpr Rgb kCapBottom{36, 33, 31};

}  // namespace orv::art::palette
