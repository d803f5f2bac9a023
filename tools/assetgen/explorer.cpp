// The explorer: a small figure in a brown wide-brimmed hat, teal jacket and
// tan trousers, a pack with a red bedroll on the back and a lit lantern in the
// right hand. Built once as a model and turned to face each direction; the
// walk is three evenly spaced moments of one stride so that frames 0, 1, 2
// loop without a hitch.
#include "sdf.h"
#include "sprite_sheet.h"

namespace assetgen {

namespace {

enum Mat { kSkin, kJacket, kTrousers, kBoots, kHat, kHatBand, kPack, kRoll, kHair, kEyes, kFlame, kMetal, kMatCount };

std::vector<Material> materials() {
    const Palette& p = palette();
    std::vector<Material> m(kMatCount);
    m[kSkin] = {&p.skin, 1, 4, false};
    m[kJacket] = {&p.jacket, 1, 4, false};
    m[kTrousers] = {&p.khaki, 0, 2, false};
    m[kBoots] = {&p.leather, 0, 1, false};
    m[kHat] = {&p.leather, 1, 4, false};
    m[kHatBand] = {&p.khaki, 2, 4, false};
    m[kPack] = {&p.khaki, 0, 3, false};
    m[kRoll] = {&p.cloak, 2, 5, false};
    m[kHair] = {&p.leather, 0, 1, false};
    m[kEyes] = {&p.rock, 0, 0, false};
    m[kFlame] = {&p.flame, 4, 7, true};
    m[kMetal] = {&p.metal, 0, 2, false};
    return m;
}

struct Pose {
    double stride = 0;   // -1..1: which leg is ahead (positive: left leg)
    double lift = 0;     // 0..1: how high the body rides
    double breath = 0;   // -1..1 for the idle
    double flicker = 0;  // 0..1, lantern flame size
};

Model explorerModel(double yaw, const Pose& pose) {
    Model m;
    m.yawTurns = yaw;
    auto& parts = m.parts;
    const double bob = pose.lift * 0.9 + pose.breath * 0.35;
    const double legSwing = 3.6 * pose.stride;
    // Legs and boots. +x is the figure's left side.
    for (int side = -1; side <= 1; side += 2) {
        const double ahead = side > 0 ? legSwing : -legSwing;
        const double raise = ahead > 0.5 ? 0.9 : 0;
        const Vec3 hip{2.7 * side, 12.5 + bob, 0};
        const Vec3 ankle{3.0 * side, 3.2 + raise, ahead};
        parts.push_back(capsule(hip, ankle, 2.7, 2.2, kTrousers));
        parts.push_back(ellipsoid({3.1 * side, 1.8 + raise, ahead + 0.9}, {2.3, 1.9, 3.2}, kBoots));
    }
    // Body: jacket over the hips.
    parts.push_back(ellipsoid({0, 13.5 + bob, 0}, {5.2, 3.6, 3.9}, kJacket));
    parts.push_back(ellipsoid({0, 18.2 + bob, 0}, {6.0, 6.8 + pose.breath * 0.25, 4.3}, kJacket, Blend::Smooth, 1.5));
    // Pack and bedroll on the back.
    parts.push_back(ellipsoid({0, 18.2 + bob, -5.6}, {4.6, 5.4, 2.6}, kPack));
    parts.push_back(capsule({-4.6, 23.9 + bob, -4.6}, {4.6, 23.9 + bob, -4.6}, 1.9, 1.9, kRoll));
    // Arms swing against the legs; the right hand carries the lantern.
    for (int side = -1; side <= 1; side += 2) {
        const double swing = (side > 0 ? -legSwing : legSwing) * 0.8;
        const Vec3 shoulder{6.0 * side, 21.4 + bob, 0};
        const Vec3 elbow{7.0 * side, 16.3 + bob, swing * 0.5};
        const Vec3 hand{7.3 * side, 12.0 + bob, swing};
        parts.push_back(capsule(shoulder, elbow, 2.3, 2.0, kJacket));
        parts.push_back(capsule(elbow, hand, 2.0, 1.8, kJacket));
        parts.push_back(sphere(hand - Vec3{0, 0.6, 0}, 1.8, kSkin));
        if (side < 0) {
            const Vec3 lantern = hand - Vec3{0, 4.4, -0.4};
            parts.push_back(capsule(hand - Vec3{0, 1.6, 0}, lantern + Vec3{0, 1.8, 0}, 0.5, 0.5, kMetal));
            parts.push_back(capsule(lantern + Vec3{0, 1.6, 0}, lantern + Vec3{0, 1.9, 0}, 1.5, 1.3, kMetal));
            parts.push_back(ellipsoid(lantern, {2.0 + 0.3 * pose.flicker, 2.2 + 0.4 * pose.flicker, 2.0}, kFlame));
            parts.push_back(capsule(lantern - Vec3{0, 1.8, 0}, lantern - Vec3{0, 2.1, 0}, 1.6, 1.4, kMetal));
        }
    }
    // Head, hair and face.
    const double headY = 28.2 + bob + pose.breath * 0.3;
    parts.push_back(ellipsoid({0, headY, 0.3}, {5.9, 5.8, 5.6}, kSkin));
    parts.push_back(ellipsoid({0, headY + 0.9, -1.4}, {6.1, 5.4, 5.1}, kHair));
    parts.push_back(sphere({-2.1, headY - 0.6, 5.1}, 1.0, kEyes));
    parts.push_back(sphere({2.1, headY - 0.6, 5.1}, 1.0, kEyes));
    // The hat: brim, band and crown.
    parts.push_back(ellipsoid({0, headY + 3.9, -0.4}, {7.8, 0.9, 7.8}, kHat));
    parts.push_back(ellipsoid({0, headY + 4.8, -0.6}, {4.9, 1.0, 4.9}, kHatBand));
    parts.push_back(ellipsoid({0, headY + 6.1, -0.6}, {4.6, 3.0, 4.6}, kHat));
    return m;
}

// The facing of each direction index, in turns (0 faces down the screen).
double yawOf(int direction) {
    static const double yaw[9] = {0, -0.25, 0.25, 0.5, 0, 0.375, -0.375, -0.125, 0.125};
    return yaw[direction];
}

}  // namespace

IndexedImage drawExplorer(int direction, int frame) {
    Pose pose;
    const double phase = frame / 3.0;
    if (direction == 0) {
        // Standing: breathing, and the lantern flame stirring.
        pose.breath = sinTurns(phase);
        pose.flicker = 0.5 + 0.5 * sinTurns(phase + 0.3);
    } else {
        pose.stride = sinTurns(phase);         // 0, +0.87, -0.87: passing, left ahead, right ahead
        pose.lift = frame == 0 ? 1 : 0;        // the body rides highest as the legs pass
        pose.flicker = frame == 1 ? 1 : 0.3;
    }
    Lighting light;
    View view;
    view.width = kExplorerSize;
    view.height = kExplorerSize;
    view.anchorX = 24.5;
    view.anchorY = 44.5;
    view.scale = 1.12;
    view.shadowRadiusX = 8;
    view.shadowRadiusY = 3;
    return renderModel(explorerModel(yawOf(direction), pose), materials(), light, view);
}

IndexedImage drawExplorerIcon(int size) {
    Pose pose;
    pose.flicker = 1;
    Lighting light;
    View view;
    view.width = size;
    view.height = size;
    view.margin = 0;
    view.anchorX = size / 2.0;
    if (size >= 32) {
        view.anchorY = size - 5.5;
        view.scale = size / 50.0;
    } else {
        view.anchorY = size + 13.0;  // the feet far below: head and shoulders fill the icon
        view.scale = size / 18.0;
    }
    return renderModel(explorerModel(0.06, pose), materials(), light, view);
}

}  // namespace assetgen
