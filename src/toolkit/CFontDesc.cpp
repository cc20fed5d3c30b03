#include "toolkit/CFontDesc.h"

namespace orv {

namespace {
const CFontDesc normalFont("Arial", 12);
const CFontDesc normalFontSmall("Arial", 11);
const CFontDesc normalFontVerySmall("Arial", 9);
}  // namespace

const CFontRef kNormalFont = &normalFont;
const CFontRef kNormalFontSmall = &normalFontSmall;
const CFontRef kNormalFontVerySmall = &normalFontVerySmall;

}  // namespace orv
