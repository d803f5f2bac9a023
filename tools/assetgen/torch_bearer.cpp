// The torch-bearer: a hooded figure in a long red cloak holding a torch high
// in its right hand, eyes glowing under the hood. Over the five frames the
// flame flickers (and with it the light on the cloak) and the hem sways.
#include "sdf.h"
#include "sprite_sheet.h"

namespace assetgen {

namespace {

enum Mat { kCloak, kShadowSkin, kSkin, kWood, kWrap, kRope, kBoots, kFlame, kEyes, kMatCount };

std::vector<Material> materials() {
    const Palette& p = palette();
    std::vector<Material> m(kMatCount);
    m[kCloak] = {&p.cloak, 0, 5, false};
    m[kShadowSkin] = {&p.skin, 0, 2, false};
    m[kSkin] = {&p.skin, 1, 4, false};
    m[kWood] = {&p.leather, 1, 3, false};
    m[kWrap] = {&p.metal, 0, 2, false};
    m[kRope] = {&p.khaki, 1, 3, false};
    m[kBoots] = {&p.leather, 0, 1, false};
    m[kFlame] = {&p.flame, 2, 7, true};
    m[kEyes] = {&p.flame, 5, 7, true};
    return m;
}

// Per-frame flame shapes: how big it burns and where its tip leans.
struct Flicker {
    double size, tipX, tipY;
};
const Flicker kFlicker[kBearerFrames] = {{0.85, -1.0, 93}, {1.0, 1.5, 96}, {0.8, 0.5, 91}, {0.95, -1.8, 95}, {0.75, 0.2, 92}};

Model bearerModel(int frame) {
    const double phase = frame / static_cast<double>(kBearerFrames);
    const double sway = 2.2 * sinTurns(phase);
    const Flicker& fl = kFlicker[frame];
    Model m;
    auto& parts = m.parts;
    // Boot tips under the hem.
    parts.push_back(ellipsoid({-5, 1.6, 16.2}, {3.0, 2.0, 3.6}, kBoots));
    parts.push_back(ellipsoid({5, 1.6, 16.2}, {3.0, 2.0, 3.6}, kBoots));
    // The cloak: a long cone from the shoulders to a wide hem, with folds.
    parts.push_back(capsule({0, 60, 0}, {sway, 6, 0.5}, 9.5, 18.5, kCloak));
    for (int i = 0; i < 7; ++i) {
        const double a = (i - 3) / 14.0;  // around the front, in turns
        const double top = 10.5, bottom = 18.2;
        const Vec3 upper{top * sinTurns(a), 52, top * cosTurns(a)};
        const Vec3 lower{sway * (1 + 0.15 * (i % 3)) + bottom * sinTurns(a * 1.1), 3, bottom * cosTurns(a * 1.1) + 0.3};
        parts.push_back(capsule(upper, lower, 1.2, 2.4, kCloak, Blend::Smooth, 1.5));
    }
    parts.push_back(ellipsoid({0, 57.5, 0}, {12.5, 6.5, 8.5}, kCloak, Blend::Smooth, 3));
    // Cut the hem flat on the ground.
    parts.push_back(ellipsoid({0, -60, 0}, {400, 60, 400}, kCloak, Blend::Carve));
    // The rope belt.
    parts.push_back(ellipsoid({sway * 0.35, 38, 0.2}, {14.6, 1.5, 14.6}, kRope));
    // Hood, its peak, and the opening where the face is.
    parts.push_back(sphere({0, 69.5, -0.5}, 9.6, kCloak, Blend::Smooth, 2));
    parts.push_back(capsule({0, 74, -3}, {0.5, 77.5, -9.5}, 5.5, 1.0, kCloak, Blend::Smooth, 2));
    parts.push_back(ellipsoid({0.6, 68.0, 9.0}, {5.6, 7.0, 5.0}, kCloak, Blend::Carve));
    parts.push_back(ellipsoid({0.3, 67.6, 1.8}, {5.4, 6.4, 5.4}, kShadowSkin));
    parts.push_back(sphere({-2.1, 68.4, 6.6}, 0.95, kEyes));
    parts.push_back(sphere({2.5, 68.4, 6.6}, 0.95, kEyes));
    // The torch arm, raised.
    const Vec3 shoulder{9.5, 58, 1}, elbow{15.5, 50.5, 5}, hand{17, 61, 6.2};
    parts.push_back(capsule(shoulder, elbow, 3.9, 3.1, kCloak));
    parts.push_back(capsule(elbow, hand, 3.1, 2.5, kCloak));
    parts.push_back(sphere(hand + Vec3{0, 1.3, 0.3}, 2.3, kSkin));
    // The torch and its flame.
    const Vec3 stickLow{17.1, 53, 6.3}, stickTop{17.8, 76, 6.8};
    parts.push_back(capsule(stickLow, stickTop, 1.1, 1.3, kWood));
    parts.push_back(capsule({17.8, 74.5, 6.8}, {17.9, 78.5, 6.9}, 2.1, 2.5, kWrap));
    const Vec3 base{18.0, 82.5, 7.0};
    parts.push_back(ellipsoid(base, {3.6 * fl.size, 4.2 * fl.size, 3.6 * fl.size}, kFlame));
    parts.push_back(capsule(base + Vec3{0, 1.0, 0}, {18.0 + fl.tipX, fl.tipY, 7.0}, 3.0 * fl.size, 0.4, kFlame,
                            Blend::Smooth, 1.5));
    return m;
}

}  // namespace

IndexedImage drawTorchBearer(int frame) {
    const Flicker& fl = kFlicker[frame];
    Lighting light;
    light.towardLight = {0.35, 0.6, 0.7};  // the flame is up and to the right
    light.ambient = 0.08;
    light.pointLight = true;
    light.pointPosition = {18, 84, 7};
    light.pointStrength = 0.45 + 0.35 * fl.size;
    light.pointReach = 80;
    View view;
    view.width = kBearerWidth;
    view.height = kBearerHeight;
    view.anchorX = 43.5;
    view.anchorY = 97.5;
    view.scale = 1.06;
    view.shadowRadiusX = 24;
    view.shadowRadiusY = 4;
    return renderModel(bearerModel(frame), materials(), light, view);
}

}  // namespace assetgen
