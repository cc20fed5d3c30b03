// The GDI+ drawing back end (Windows): every image is a premultiplied 32-bit pixel buffer of
// our own with a GDI+ bitmap drawing into it, so the window back end and tests read the
// pixels directly, as they do from cairo on Linux. Text is the embedded TrueType face, loaded
// into a private font collection and asked for by its own family name.
#include <windows.h>
#include <objidl.h>
#include <shlwapi.h>

#include <gdiplus.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/EmbeddedResources.h"
#include "platform/windows/WideText.h"
#include "toolkit/CDrawContext.h"
#include "toolkit/DrawBackend.h"

namespace orv {

struct GdiplusSurface {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
    std::unique_ptr<Gdiplus::Bitmap> bitmap;
};

namespace {

// GDI+ is started once, on first use, and never shut down: the decoded artwork and the font
// stay shared for the life of the process. The module pins itself in memory at that moment,
// so no GDI+ object outlives the code and data it refers to.
bool startGdiplus()
{
    static const bool started = [] {
        Gdiplus::GdiplusStartupInput input;
        ULONG_PTR token = 0;
        if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok) return false;
        HMODULE self = nullptr;
        GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                           reinterpret_cast<LPCWSTR>(&startGdiplus), &self);
        return true;
    }();
    return started;
}

// The font family every text is drawn with: the embedded face by its own name, or the
// system's sans serif face when the module carries no font.
struct InterfaceFont {
    Gdiplus::PrivateFontCollection collection;
    std::unique_ptr<Gdiplus::FontFamily> family;
    double ascentPerEm = 0.9;   // cell ascent / em height
    double descentPerEm = 0.2;  // cell descent / em height
};

InterfaceFont& interfaceFont()
{
    static InterfaceFont* const font = [] {
        auto* f = new InterfaceFont;
        const EmbeddedBlob blob = findFontResource();
        if (blob.data != nullptr && blob.size > 0 &&
            f->collection.AddMemoryFont(blob.data, static_cast<INT>(blob.size)) == Gdiplus::Ok &&
            f->collection.GetFamilyCount() > 0) {
            auto family = std::make_unique<Gdiplus::FontFamily>();
            INT found = 0;
            f->collection.GetFamilies(1, family.get(), &found);
            if (found == 1) {
                WCHAR name[LF_FACESIZE] = {};
                family->GetFamilyName(name);
                f->family = std::make_unique<Gdiplus::FontFamily>(name, &f->collection);
            }
        }
        if (f->family == nullptr || f->family->GetLastStatus() != Gdiplus::Ok)
            f->family.reset(Gdiplus::FontFamily::GenericSansSerif()->Clone());
        const double em = f->family->GetEmHeight(Gdiplus::FontStyleRegular);
        if (em > 0) {
            f->ascentPerEm = f->family->GetCellAscent(Gdiplus::FontStyleRegular) / em;
            f->descentPerEm = f->family->GetCellDescent(Gdiplus::FontStyleRegular) / em;
        }
        return f;
    }();
    return *font;
}

Gdiplus::Color toColor(const CColor& c) { return Gdiplus::Color(c.alpha, c.red, c.green, c.blue); }

Gdiplus::Rect toRect(const CRect& r) { return Gdiplus::Rect(r.left, r.top, r.getWidth(), r.getHeight()); }

GdiplusSurface* makeSurface(int width, int height)
{
    if (!startGdiplus() || width <= 0 || height <= 0) return nullptr;
    auto* s = new GdiplusSurface;
    s->width = width;
    s->height = height;
    s->pixels.assign(static_cast<size_t>(width) * height, 0u);
    s->bitmap = std::make_unique<Gdiplus::Bitmap>(width, height, width * 4, PixelFormat32bppPARGB,
                                                  reinterpret_cast<BYTE*>(s->pixels.data()));
    return s;
}

}  // namespace

NativeSurface* createSurface(int width, int height, bool opaque)
{
    GdiplusSurface* s = makeSurface(width, height);
    if (s != nullptr && opaque) std::fill(s->pixels.begin(), s->pixels.end(), 0xff000000u);
    return s;
}

NativeSurface* decodePngSurface(const unsigned char* data, size_t size)
{
    if (data == nullptr || size == 0 || !startGdiplus()) return nullptr;
    IStream* stream = SHCreateMemStream(data, static_cast<UINT>(size));
    if (stream == nullptr) return nullptr;
    GdiplusSurface* s = nullptr;
    {
        std::unique_ptr<Gdiplus::Bitmap> decoded(Gdiplus::Bitmap::FromStream(stream));
        if (decoded != nullptr && decoded->GetLastStatus() == Gdiplus::Ok) {
            const int w = static_cast<int>(decoded->GetWidth());
            const int h = static_cast<int>(decoded->GetHeight());
            s = makeSurface(w, h);
            if (s != nullptr) {
                // Converted straight into our buffer, premultiplied.
                Gdiplus::BitmapData out{};
                out.Width = static_cast<UINT>(w);
                out.Height = static_cast<UINT>(h);
                out.Stride = w * 4;
                out.PixelFormat = PixelFormat32bppPARGB;
                out.Scan0 = s->pixels.data();
                Gdiplus::Rect all(0, 0, w, h);
                if (decoded->LockBits(&all, Gdiplus::ImageLockModeRead | Gdiplus::ImageLockModeUserInputBuf,
                                      PixelFormat32bppPARGB, &out) == Gdiplus::Ok) {
                    decoded->UnlockBits(&out);
                } else {
                    destroySurface(s);
                    s = nullptr;
                }
            }
        }
    }
    stream->Release();
    return s;
}

void destroySurface(NativeSurface* surface) { delete surface; }

int surfaceWidth(NativeSurface* surface) { return surface->width; }

int surfaceHeight(NativeSurface* surface) { return surface->height; }

SurfacePixels readSurfacePixels(NativeSurface* surface)
{
    return {reinterpret_cast<const unsigned char*>(surface->pixels.data()), surface->width * 4, surface->width,
            surface->height};
}

struct CDrawContext::Backend {
    std::unique_ptr<Gdiplus::Graphics> graphics;
};

CDrawContext::CDrawContext(NativeSurface* surface, bool ownsSurface)
    : surface_(surface), ownsSurface_(ownsSurface), backend_(new Backend), font_(kNormalFont)
{
    clip_ = CRect(0, 0, surfaceWidth(surface), surfaceHeight(surface));
    auto g = std::make_unique<Gdiplus::Graphics>(surface->bitmap.get());
    // Pixel i covers [i, i + 1) as in cairo, so whole-number rectangles cover whole pixels;
    // images are copied pixel for pixel; text in grey antialiasing, as on Linux.
    g->SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
    g->SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    g->SetInterpolationMode(Gdiplus::InterpolationModeNearestNeighbor);
    g->SetCompositingMode(Gdiplus::CompositingModeSourceOver);
    g->SetCompositingQuality(Gdiplus::CompositingQualityHighSpeed);
    g->SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
    backend_->graphics = std::move(g);
}

CDrawContext::~CDrawContext()
{
    backend_->graphics->Flush(Gdiplus::FlushIntentionSync);
    backend_->graphics.reset();
    if (ownsSurface_) destroySurface(surface_);
}

void CDrawContext::setClipRect(const CRect& r)
{
    clip_ = r;
    backend_->graphics->SetClip(toRect(r), Gdiplus::CombineModeReplace);
}

void CDrawContext::resetClipRect()
{
    clip_ = CRect(0, 0, surfaceWidth(surface_), surfaceHeight(surface_));
    backend_->graphics->ResetClip();
}

void CDrawContext::fillRect(const CRect& r)
{
    if (r.isEmpty()) return;
    Gdiplus::SolidBrush brush(toColor(fillColor_));
    backend_->graphics->FillRectangle(&brush, toRect(r));
}

void CDrawContext::drawRect(const CRect& r)
{
    if (r.isEmpty() || lineWidth_ <= 0) return;
    // Four bands of the line width inside r: the pixels a stroke on the half-pixel grid covers.
    const int w = std::min(lineWidth_, std::min(r.getWidth(), r.getHeight()) / 2 + 1);
    Gdiplus::SolidBrush brush(toColor(frameColor_));
    Gdiplus::Graphics& g = *backend_->graphics;
    g.FillRectangle(&brush, r.left, r.top, r.getWidth(), w);
    g.FillRectangle(&brush, r.left, r.bottom - w, r.getWidth(), w);
    const int inner = r.getHeight() - 2 * w;
    if (inner > 0) {
        g.FillRectangle(&brush, r.left, r.top + w, w, inner);
        g.FillRectangle(&brush, r.right - w, r.top + w, w, inner);
    }
}

void CDrawContext::drawLine(const CPoint& from, const CPoint& to)
{
    if (lineWidth_ <= 0) return;
    Gdiplus::Graphics& g = *backend_->graphics;
    const bool vertical = from.x == to.x;
    if (!vertical && from.y != to.y) {
        Gdiplus::Pen pen(toColor(frameColor_), static_cast<Gdiplus::REAL>(lineWidth_));
        g.DrawLine(&pen, from.x + 0.5f, from.y + 0.5f, to.x + 0.5f, to.y + 0.5f);
        return;
    }
    // An upright or level line between pixel centres, as a stroke on the half-pixel grid
    // covers it: whole pixels across its width, its two end pixels half covered.
    const int a = vertical ? std::min(from.y, to.y) : std::min(from.x, to.x);
    const int b = vertical ? std::max(from.y, to.y) : std::max(from.x, to.x);
    if (a == b) return;  // no length, no ink
    const int across = (vertical ? from.x : from.y) - (lineWidth_ - 1) / 2;
    auto band = [&](Gdiplus::Brush& brush, int start, int end) {
        if (end <= start) return;
        if (vertical)
            g.FillRectangle(&brush, across, start, lineWidth_, end - start);
        else
            g.FillRectangle(&brush, start, across, end - start, lineWidth_);
    };
    Gdiplus::SolidBrush brush(toColor(frameColor_));
    band(brush, a + 1, b);
    CColor half = frameColor_;
    half.alpha = static_cast<uint8_t>((half.alpha + 1) / 2);
    Gdiplus::SolidBrush halfBrush(toColor(half));
    band(halfBrush, a, a + 1);
    band(halfBrush, b, b + 1);
}

CDrawContext::TextMetrics CDrawContext::measureText(const std::string& utf8)
{
    InterfaceFont& f = interfaceFont();
    const double size = font_->getSize();
    // Whole-pixel ascent and descent, as the hinted metrics on Linux have them.
    TextMetrics m{0.0, std::ceil(size * f.ascentPerEm), std::ceil(size * f.descentPerEm)};
    const std::wstring text = toWide(utf8);
    if (text.empty()) return m;
    Gdiplus::Font font(f.family.get(), static_cast<Gdiplus::REAL>(size), Gdiplus::FontStyleRegular, Gdiplus::UnitPixel);
    Gdiplus::StringFormat format(Gdiplus::StringFormat::GenericTypographic());
    format.SetFormatFlags(format.GetFormatFlags() | Gdiplus::StringFormatFlagsNoWrap |
                          Gdiplus::StringFormatFlagsMeasureTrailingSpaces);
    Gdiplus::RectF box;
    backend_->graphics->MeasureString(text.c_str(), static_cast<INT>(text.size()), &font, Gdiplus::PointF(0, 0),
                                      &format, &box);
    m.advance = box.Width;
    return m;
}

void CDrawContext::showText(const std::string& utf8, const CRect& clip, double x, double y)
{
    const std::wstring text = toWide(utf8);
    if (text.empty()) return;
    InterfaceFont& f = interfaceFont();
    const double size = font_->getSize();
    Gdiplus::Font font(f.family.get(), static_cast<Gdiplus::REAL>(size), Gdiplus::FontStyleRegular, Gdiplus::UnitPixel);
    Gdiplus::StringFormat format(Gdiplus::StringFormat::GenericTypographic());
    format.SetFormatFlags(format.GetFormatFlags() | Gdiplus::StringFormatFlagsNoWrap |
                          Gdiplus::StringFormatFlagsMeasureTrailingSpaces);
    Gdiplus::SolidBrush brush(toColor(fontColor_));
    Gdiplus::Graphics& g = *backend_->graphics;
    const Gdiplus::GraphicsState state = g.Save();
    g.IntersectClip(toRect(clip));
    // The layout origin is the top of the line: the baseline less the face's ascent.
    const auto top = static_cast<Gdiplus::REAL>(y - size * f.ascentPerEm);
    g.DrawString(text.c_str(), static_cast<INT>(text.size()), &font,
                 Gdiplus::PointF(static_cast<Gdiplus::REAL>(x), top), &format, &brush);
    g.Restore(state);
}

void CDrawContext::drawImage(NativeSurface* image, const CRect& dest, const CPoint& offset, float alpha)
{
    if (image == nullptr || dest.isEmpty() || alpha <= 0.0f) return;
    // The part of dest the image covers, and where that part starts in the image.
    CRect area(dest.left - offset.x, dest.top - offset.y, dest.left - offset.x + image->width,
               dest.top - offset.y + image->height);
    area.bound(dest);
    if (area.isEmpty()) return;
    const int srcX = area.left - (dest.left - offset.x);
    const int srcY = area.top - (dest.top - offset.y);
    Gdiplus::Graphics& g = *backend_->graphics;
    if (image == surface_) return;  // a context cannot copy its own image onto itself
    if (alpha >= 1.0f) {
        g.DrawImage(image->bitmap.get(), toRect(area), srcX, srcY, area.getWidth(), area.getHeight(),
                    Gdiplus::UnitPixel);
        return;
    }
    Gdiplus::ColorMatrix matrix = {
        {{1, 0, 0, 0, 0}, {0, 1, 0, 0, 0}, {0, 0, 1, 0, 0}, {0, 0, 0, alpha, 0}, {0, 0, 0, 0, 1}}};
    Gdiplus::ImageAttributes attributes;
    attributes.SetColorMatrix(&matrix);
    g.DrawImage(image->bitmap.get(), toRect(area), srcX, srcY, area.getWidth(), area.getHeight(), Gdiplus::UnitPixel,
                &attributes);
}

void CDrawContext::clearSurface()
{
    Gdiplus::Graphics& g = *backend_->graphics;
    g.Flush(Gdiplus::FlushIntentionSync);
    std::fill(surface_->pixels.begin(), surface_->pixels.end(), 0u);
}

}  // namespace orv
