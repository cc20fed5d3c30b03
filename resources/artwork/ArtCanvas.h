#pragma once

#include <cairo.h>

#include <cstdint>
#include <functional>

// Small drawing helpers shared by the artwork painters: colours, shapes, deterministic noise
// and procedural textures.
namespace orv::art {

struct Rgb {
    double r, g, b;  // 0..255
};

Rgb mix(Rgb a, Rgb b, double t);
Rgb scale(Rgb c, double f);

void setColour(cairo_t* cr, Rgb c, double alpha = 1.0);
void addStop(cairo_pattern_t* p, double offset, Rgb c, double alpha = 1.0);

// Path of a rectangle with rounded corners.
void roundedRect(cairo_t* cr, double x, double y, double w, double h, double r);

// A vertical two-colour gradient from y0 to y1, to be used as a source and destroyed.
cairo_pattern_t* verticalGradient(double y0, double y1, Rgb top, Rgb bottom, double alphaTop = 1.0,
                                  double alphaBottom = 1.0);

// Hash noise in [0, 1) for an integer lattice point; the same inputs give the same value on
// every machine.
double latticeNoise(int x, int y, uint32_t seed);
// Smooth value noise (bilinear over the lattice with a smoothstep) in [0, 1).
double valueNoise(double x, double y, uint32_t seed);

// An opaque image of the given size whose pixel (x, y) is shade(x + originX, y + originY):
// textures are functions of editor coordinates, so patches painted separately join seamlessly.
using Shader = std::function<Rgb(int x, int y)>;
cairo_surface_t* makeTexture(int width, int height, int originX, int originY, const Shader& shade);

// Fills the current path with a texture generated for the given editor-space rectangle.
void fillWithTexture(cairo_t* cr, int x, int y, int w, int h, const Shader& shade);

// A soft round shadow: a stack of translucent discs.
void softDisc(cairo_t* cr, double cx, double cy, double r, double spread, double alpha);

// A round lamp: dark lens when off, a glowing core and halo when lit.
void lamp(cairo_t* cr, double cx, double cy, double r, Rgb lit, bool on);

inline constexpr double kPi = 3.14159265358979323846;
inline double degrees(double d) { return d * kPi / 180.0; }

}  // namespace orv::art
