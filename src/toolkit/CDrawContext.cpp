#include "toolkit/CDrawContext.h"

#include <cmath>

namespace orv {

namespace {

// Text must reach the back ends as UTF-8; names read from files may be in a single-byte
// encoding, so text that is not valid UTF-8 is taken as Latin-1 and re-encoded.
std::string toUtf8(const char* text)
{
    std::string s(text);
    size_t i = 0;
    bool valid = true;
    while (i < s.size() && valid) {
        const auto c = static_cast<unsigned char>(s[i]);
        const size_t len = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xe ? 3 : (c >> 3) == 0x1e ? 4 : 0;
        if (len == 0 || i + len > s.size()) {
            valid = false;
            break;
        }
        for (size_t k = 1; k < len; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xc0) != 0x80) valid = false;
        i += len;
    }
    if (valid) return s;
    std::string out;
    for (char ch : s) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x80) {
            out += ch;
        } else {
            out += static_cast<char>(0xc0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3f));
        }
    }
    return out;
}

}  // namespace

CDrawContext::CDrawContext(NativeSurface* surface) : CDrawContext(surface, false) {}

double CDrawContext::getStringWidth(const char* text)
{
    if (text == nullptr || *text == 0) return 0.0;
    return measureText(toUtf8(text)).advance;
}

void CDrawContext::drawString(const char* text, const CRect& r, CHoriTxtAlign align)
{
    if (text == nullptr || *text == 0 || r.isEmpty()) return;
    const std::string utf8 = toUtf8(text);
    const TextMetrics m = measureText(utf8);
    double x = r.left;
    if (align == kCenterText)
        x = r.left + (r.getWidth() - m.advance) * 0.5;
    else if (align == kRightText)
        x = r.right - m.advance;
    const double baseline = r.top + (r.getHeight() + m.ascent - m.descent) * 0.5;
    // Whole-pixel origins keep glyphs sharp and renders reproducible.
    showText(utf8, r, std::floor(x + 0.5), std::floor(baseline + 0.5));
}

}  // namespace orv
