#include "ArtCanvas.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace orv::art {

Rgb mix(Rgb a, Rgb b, double t) { return Rgb{a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t}; }

Rgb scale(Rgb c, double f) { return Rgb{c.r * f, c.g * f, c.b * f}; }

void setColour(cairo_t* cr, Rgb c, double alpha)
{
    cairo_set_source_rgba(cr, c.r / 255.0, c.g / 255.0, c.b / 255.0, alpha);
}

void addStop(cairo_pattern_t* p, double offset, Rgb c, double alpha)
{
    cairo_pattern_add_color_stop_rgba(p, offset, c.r / 255.0, c.g / 255.0, c.b / 255.0, alpha);
}

void roundedRect(cairo_t* cr, double x, double y, double w, double h, double r)
{
    r = std::min({r, w / 2.0, h / 2.0});
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -kPi / 2.0, 0.0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0.0, kPi / 2.0);
    cairo_arc(cr, x + r, y + h - r, r, kPi / 2.0, kPi);
    cairo_arc(cr, x + r, y + r, r, kPi, 1.5 * kPi);
    cairo_close_path(cr);
}

cairo_pattern_t* verticalGradient(double y0, double y1, Rgb top, Rgb bottom, double alphaTop, double alphaBottom)
{
    cairo_pattern_t* p = cairo_pattern_create_linear(0.0, y0, 0.0, y1);
    addStop(p, 0.0, top, alphaTop);
    addStop(p, 1.0, bottom, alphaBottom);
    return p;
}

double latticeNoise(int x, int y, uint32_t seed)
{
    uint32_t h = static_cast<uint32_t>(x) * 0x8da6b343u ^ static_cast<uint32_t>(y) * 0xd8163841u ^ seed * 0xcb1ab31fu;
    h ^= h >> 13;
    h *= 0x5bd1e995u;
    h ^= h >> 15;
    return static_cast<double>(h & 0xffffffu) / 16777216.0;
}

double valueNoise(double x, double y, uint32_t seed)
{
    const double fx = std::floor(x);
    const double fy = std::floor(y);
    const int ix = static_cast<int>(fx);
    const int iy = static_cast<int>(fy);
    double tx = x - fx;
    double ty = y - fy;
    tx = tx * tx * (3.0 - 2.0 * tx);
    ty = ty * ty * (3.0 - 2.0 * ty);
    const double a = latticeNoise(ix, iy, seed);
    const double b = latticeNoise(ix + 1, iy, seed);
    const double c = latticeNoise(ix, iy + 1, seed);
    const double d = latticeNoise(ix + 1, iy + 1, seed);
    return (a + (b - a) * tx) + ((c + (d - c) * tx) - (a + (b - a) * tx)) * ty;
}

cairo_surface_t* makeTexture(int width, int height, int originX, int originY, const Shader& shade)
{
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_surface_flush(s);
    unsigned char* data = cairo_image_surface_get_data(s);
    const int stride = cairo_image_surface_get_stride(s);
    auto channel = [](double v) { return static_cast<uint32_t>(std::clamp(std::lround(v), 0L, 255L)); };
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
        for (int x = 0; x < width; ++x) {
            const Rgb c = shade(x + originX, y + originY);
            row[x] = 0xff000000u | channel(c.r) << 16 | channel(c.g) << 8 | channel(c.b);
        }
    }
    cairo_surface_mark_dirty(s);
    return s;
}

void fillWithTexture(cairo_t* cr, int x, int y, int w, int h, const Shader& shade)
{
    cairo_surface_t* tex = makeTexture(w, h, x, y, shade);
    cairo_save(cr);
    cairo_set_source_surface(cr, tex, x, y);
    cairo_fill(cr);
    cairo_restore(cr);
    cairo_surface_destroy(tex);
}

void softDisc(cairo_t* cr, double cx, double cy, double r, double spread, double alpha)
{
    cairo_pattern_t* p = cairo_pattern_create_radial(cx, cy, std::max(0.0, r - spread), cx, cy, r + spread);
    cairo_pattern_add_color_stop_rgba(p, 0.0, 0, 0, 0, alpha);
    cairo_pattern_add_color_stop_rgba(p, 1.0, 0, 0, 0, 0.0);
    cairo_save(cr);
    cairo_set_source(cr, p);
    cairo_arc(cr, cx, cy, r + spread, 0.0, 2.0 * kPi);
    cairo_fill(cr);
    cairo_restore(cr);
    cairo_pattern_destroy(p);
}

void lamp(cairo_t* cr, double cx, double cy, double r, Rgb lit, bool on)
{
    cairo_save(cr);
    // Bezel ring.
    cairo_arc(cr, cx, cy, r + 0.9, 0.0, 2.0 * kPi);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.85);
    cairo_fill(cr);
    if (on) {
        cairo_pattern_t* halo = cairo_pattern_create_radial(cx, cy, r * 0.5, cx, cy, r * 2.6);
        addStop(halo, 0.0, lit, 0.55);
        addStop(halo, 1.0, lit, 0.0);
        cairo_set_source(cr, halo);
        cairo_arc(cr, cx, cy, r * 2.6, 0.0, 2.0 * kPi);
        cairo_fill(cr);
        cairo_pattern_destroy(halo);
    }
    const Rgb base = on ? lit : scale(lit, 0.28);
    cairo_pattern_t* lens = cairo_pattern_create_radial(cx - r * 0.3, cy - r * 0.35, 0.0, cx, cy, r);
    addStop(lens, 0.0, on ? mix(lit, Rgb{255, 255, 235}, 0.75) : scale(lit, 0.5));
    addStop(lens, 0.55, base);
    addStop(lens, 1.0, scale(base, on ? 0.7 : 0.6));
    cairo_set_source(cr, lens);
    cairo_arc(cr, cx, cy, r, 0.0, 2.0 * kPi);
    cairo_fill(cr);
    cairo_pattern_destroy(lens);
    cairo_restore(cr);
}

}  // namespace orv::art
