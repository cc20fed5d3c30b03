// A font: family name and pixel size. Every face named "Arial" (the only one the editor uses)
// is drawn with Liberation Sans, its metric-compatible stand-in, which the drawing back end
// loads once per process from the embedded font.
#pragma once

#include <string>

namespace orv {

class CFontDesc {
public:
    CFontDesc(const char* name, int size) : name_(name), size_(size) {}

    const std::string& getName() const { return name_; }
    int getSize() const { return size_; }

private:
    std::string name_;
    int size_;
};

using CFontRef = const CFontDesc*;

extern const CFontRef kNormalFont;           // "Arial" 12
extern const CFontRef kNormalFontSmall;      // "Arial" 11
extern const CFontRef kNormalFontVerySmall;  // "Arial" 9

}  // namespace orv
