// A tiny signed-distance modeller and renderer for the sprites: figures are
// built from ellipsoids and tapered capsules, turned to face any direction,
// seen from above at a slant, lit, and cut into palette shades with outlines.
//
// Only +, -, *, / and sqrt are used on doubles (all exactly rounded by IEEE
// 754) and the build turns off fused multiply-add, so the pictures come out
// the same everywhere. Angles are in turns and go through our own sine.
#pragma once
#include <vector>

#include "image.h"
#include "palette.h"

namespace assetgen {

struct Vec3 {
    double x = 0, y = 0, z = 0;
};
inline Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vec3 operator*(Vec3 a, double k) { return {a.x * k, a.y * k, a.z * k}; }
double dot(Vec3 a, Vec3 b);
double length(Vec3 a);
Vec3 normalize(Vec3 a);

double sinTurns(double turns);
double cosTurns(double turns);

// How a material turns light into palette shades.
struct Material {
    const Ramp* ramp = nullptr;
    int darkest = 0;          // shade for the deepest shadow
    int lightest = 0;         // shade in full light
    bool emissive = false;    // glows: brightest where it faces the viewer
};

enum class Blend { Union, Smooth, Carve };

struct Part {
    enum Kind { Ellipsoid, Capsule } kind = Ellipsoid;
    Vec3 a, b;          // centre (ellipsoid) or the two ends (capsule)
    Vec3 radii;         // ellipsoid radii
    double ra = 0, rb = 0;  // capsule radii at a and b
    int material = 0;
    Blend blend = Blend::Union;
    double smoothness = 0;
};

Part ellipsoid(Vec3 centre, Vec3 radii, int material, Blend blend = Blend::Union, double smoothness = 0);
Part sphere(Vec3 centre, double radius, int material, Blend blend = Blend::Union, double smoothness = 0);
Part capsule(Vec3 a, Vec3 b, double ra, double rb, int material, Blend blend = Blend::Union, double smoothness = 0);

// Model space: y up, the figure faces +z, the ground is y = 0.
struct Model {
    std::vector<Part> parts;
    double yawTurns = 0;  // 0 faces the viewer (down the screen), 0.25 faces right
};

struct Lighting {
    Vec3 towardLight{-0.5, 0.75, 0.45};  // world direction toward the key light
    double ambient = 0.22;
    bool pointLight = false;             // a warm light such as a flame
    Vec3 pointPosition;
    double pointStrength = 0;
    double pointReach = 1;
};

struct View {
    int width = 0, height = 0;     // output picture
    double anchorX = 0, anchorY = 0;  // where the model's origin lands, pixels
    double scale = 1;              // pixels per model unit
    double elevationTurns = 0.09;  // how far the camera looks down
    int margin = 1;                // outline never enters this border
    int shadowRadiusX = 0, shadowRadiusY = 0;  // a dithered ground shadow, 0 for none
};

// Renders the model; everything not covered is the key colour.
IndexedImage renderModel(const Model& model, const std::vector<Material>& materials, const Lighting& lighting,
                         const View& view);

}  // namespace assetgen
