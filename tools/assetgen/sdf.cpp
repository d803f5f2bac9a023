#include "sdf.h"

#include <cmath>
#include <limits>

namespace assetgen {

double dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
double length(Vec3 a) { return std::sqrt(dot(a, a)); }
Vec3 normalize(Vec3 a) {
    const double l = length(a);
    return l > 0 ? a * (1.0 / l) : a;
}

double sinTurns(double turns) {
    // Reduce to [-0.25, 0.25] turns, then an odd Taylor polynomial.
    double t = turns - std::floor(turns + 0.5);  // [-0.5, 0.5)
    if (t > 0.25) t = 0.5 - t;
    if (t < -0.25) t = -0.5 - t;
    const double x = t * 6.283185307179586;
    const double x2 = x * x;
    return x * (1 - x2 / 6 * (1 - x2 / 20 * (1 - x2 / 42 * (1 - x2 / 72 * (1 - x2 / 110)))));
}
double cosTurns(double turns) { return sinTurns(turns + 0.25); }

Part ellipsoid(Vec3 centre, Vec3 radii, int material, Blend blend, double smoothness) {
    Part p;
    p.kind = Part::Ellipsoid;
    p.a = centre;
    p.radii = radii;
    p.material = material;
    p.blend = blend;
    p.smoothness = smoothness;
    return p;
}

Part sphere(Vec3 centre, double radius, int material, Blend blend, double smoothness) {
    return ellipsoid(centre, {radius, radius, radius}, material, blend, smoothness);
}

Part capsule(Vec3 a, Vec3 b, double ra, double rb, int material, Blend blend, double smoothness) {
    Part p;
    p.kind = Part::Capsule;
    p.a = a;
    p.b = b;
    p.ra = ra;
    p.rb = rb;
    p.material = material;
    p.blend = blend;
    p.smoothness = smoothness;
    return p;
}

namespace {

double clamp01(double v) { return v < 0 ? 0 : (v > 1 ? 1 : v); }

double partDistance(const Part& p, Vec3 q) {
    if (p.kind == Part::Ellipsoid) {
        const Vec3 d = q - p.a;
        const Vec3 s{d.x / p.radii.x, d.y / p.radii.y, d.z / p.radii.z};
        const Vec3 s2{d.x / (p.radii.x * p.radii.x), d.y / (p.radii.y * p.radii.y), d.z / (p.radii.z * p.radii.z)};
        const double k0 = length(s), k1 = length(s2);
        if (k1 <= 0) return -p.radii.x;
        return k0 * (k0 - 1) / k1;
    }
    const Vec3 pa = q - p.a, ba = p.b - p.a;
    const double bb = dot(ba, ba);
    const double h = bb > 0 ? clamp01(dot(pa, ba) / bb) : 0;
    return length(pa - ba * h) - (p.ra + (p.rb - p.ra) * h);
}

struct Hit {
    double distance;
    int material;
};

// Evaluates the listed parts only, at a point in model space.
Hit sceneDistance(const Model& m, const std::vector<int>& active, Vec3 q) {
    Hit h{std::numeric_limits<double>::max(), -1};
    for (int index : active) {
        const Part& p = m.parts[static_cast<size_t>(index)];
        const double d = partDistance(p, q);
        switch (p.blend) {
            case Blend::Union:
                if (d < h.distance) h = {d, p.material};
                break;
            case Blend::Smooth: {
                if (h.material < 0) {  // nothing to blend with on this ray
                    h = {d, p.material};
                    break;
                }
                const double k = p.smoothness;
                const double t = clamp01(0.5 + 0.5 * (h.distance - d) / k);
                const double blended = h.distance + (d - h.distance) * t - k * t * (1 - t);
                if (d < h.distance) h.material = p.material;
                h.distance = blended;
                break;
            }
            case Blend::Carve:
                if (-d > h.distance) h.distance = -d;
                break;
        }
    }
    return h;
}

// A sphere around each part, grown by how far its blending reaches.
struct Bound {
    Vec3 centre;
    double radius;
};

Bound boundOf(const Part& p) {
    const double grow = p.smoothness + 0.5;
    if (p.kind == Part::Ellipsoid) {
        const double r = p.radii.x > p.radii.y ? (p.radii.x > p.radii.z ? p.radii.x : p.radii.z)
                                               : (p.radii.y > p.radii.z ? p.radii.y : p.radii.z);
        return {p.a, r + grow};
    }
    const Vec3 mid = (p.a + p.b) * 0.5;
    return {mid, length(p.b - p.a) * 0.5 + (p.ra > p.rb ? p.ra : p.rb) + grow};
}

}  // namespace

IndexedImage renderModel(const Model& model, const std::vector<Material>& materials, const Lighting& lighting,
                         const View& view) {
    const double cy = cosTurns(model.yawTurns), sy = sinTurns(model.yawTurns);
    const double ce = cosTurns(view.elevationTurns), se = sinTurns(view.elevationTurns);
    const Vec3 forward{0, -se, -ce}, up{0, ce, -se}, right{1, 0, 0};
    const Vec3 key = normalize(lighting.towardLight);
    const int w = view.width, h = view.height;

    std::vector<Bound> bounds;
    for (const Part& p : model.parts) bounds.push_back(boundOf(p));
    // Model space from world space: undo the yaw.
    auto toModel = [&](Vec3 v) { return Vec3{v.x * cy - v.z * sy, v.y, v.x * sy + v.z * cy}; };
    const Vec3 dir = toModel(forward);
    const Vec3 modelKey = toModel(key);

    std::vector<int> material(static_cast<size_t>(w) * h, -1), shade(static_cast<size_t>(w) * h, 0);
    std::vector<double> depth(static_cast<size_t>(w) * h, 0);
    std::vector<int> active;
    for (int py = 0; py < h; ++py)
        for (int px = 0; px < w; ++px) {
            const double sx = (px + 0.5 - view.anchorX) / view.scale;
            const double su = (view.anchorY - (py + 0.5)) / view.scale;
            const Vec3 origin = toModel(right * sx + up * su - forward * 120.0);
            // Only parts whose bounds the ray passes through can be hit or
            // shape what is hit; the march starts where the first bound begins.
            active.clear();
            double start = 240;
            for (size_t k = 0; k < bounds.size(); ++k) {
                const Vec3 oc = bounds[k].centre - origin;
                const double along = dot(oc, dir);
                const Vec3 off = oc - dir * along;
                if (dot(off, off) > bounds[k].radius * bounds[k].radius) continue;
                active.push_back(static_cast<int>(k));
                if (along - bounds[k].radius < start) start = along - bounds[k].radius;
            }
            if (active.empty()) continue;
            double t = start > 0 ? start : 0;
            Hit hit{1, -1};
            bool found = false;
            for (int step = 0; step < 200 && t < 240; ++step) {
                hit = sceneDistance(model, active, origin + dir * t);
                if (hit.distance < 0.01) {
                    found = true;
                    break;
                }
                t += hit.distance > 0.02 ? hit.distance * 0.85 : 0.02;
            }
            if (!found || hit.material < 0) continue;
            // The frame's margin stays clear whatever the model does.
            if (px < view.margin || py < view.margin || px >= w - view.margin || py >= h - view.margin) continue;
            const Vec3 p = origin + dir * t;
            const double e = 0.25;
            auto probe = [&](Vec3 q) { return sceneDistance(model, active, q).distance; };
            const Vec3 n = normalize({probe(p + Vec3{e, 0, 0}) - probe(p - Vec3{e, 0, 0}),
                                      probe(p + Vec3{0, e, 0}) - probe(p - Vec3{0, e, 0}),
                                      probe(p + Vec3{0, 0, e}) - probe(p - Vec3{0, 0, e})});
            const Material& mat = materials[static_cast<size_t>(hit.material)];
            double intensity;
            if (mat.emissive) {
                intensity = clamp01(-dot(n, dir));
                intensity = intensity * intensity;
            } else {
                intensity = lighting.ambient + (1 - lighting.ambient) * clamp01(dot(n, modelKey));
                if (lighting.pointLight) {
                    const Vec3 toLight = toModel(lighting.pointPosition) - p;
                    const double dist = length(toLight);
                    const double fall = clamp01(1 - dist / lighting.pointReach);
                    intensity += lighting.pointStrength * fall * clamp01(dot(n, toLight * (1.0 / dist)));
                }
                intensity = clamp01(intensity);
            }
            const int span = mat.lightest - mat.darkest + 1;
            int s = mat.darkest + static_cast<int>(intensity * span);
            if (s > mat.lightest) s = mat.lightest;
            const size_t i = static_cast<size_t>(py) * w + px;
            material[i] = hit.material;
            shade[i] = s;
            depth[i] = t;
        }

    const Palette& pal = palette();
    IndexedImage out(w, h, kKeyIndex);
    auto inside = [&](int x, int y) { return x >= 0 && y >= 0 && x < w && y < h; };
    auto covered = [&](int x, int y) { return inside(x, y) && material[static_cast<size_t>(y) * w + x] >= 0; };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const size_t i = static_cast<size_t>(y) * w + x;
            if (material[i] < 0) continue;
            const Material& mat = materials[static_cast<size_t>(material[i])];
            int s = shade[i];
            // A part seen behind a nearer one gets a dark contour along the overlap.
            bool behind = false;
            for (int k = 0; k < 4; ++k) {
                const int nx = x + (k == 0) - (k == 1), ny = y + (k == 2) - (k == 3);
                if (!covered(nx, ny)) continue;
                const size_t j = static_cast<size_t>(ny) * w + nx;
                if (depth[j] < depth[i] - 3.0 && !materials[static_cast<size_t>(material[j])].emissive)
                    behind = true;
            }
            if (behind && !mat.emissive) s = mat.darkest - 1;
            out.at(x, y) = s < 0 ? pal.outline : (*mat.ramp)[s];
        }
    // The outline around the figure, kept off the frame's margin.
    IndexedImage outlined = out;
    for (int y = view.margin; y < h - view.margin; ++y)
        for (int x = view.margin; x < w - view.margin; ++x) {
            if (covered(x, y)) continue;
            if (covered(x - 1, y) || covered(x + 1, y) || covered(x, y - 1) || covered(x, y + 1)) outlined.at(x, y) = pal.outline;
        }
    // A dithered shadow on the ground under the figure.
    if (view.shadowRadiusX > 0) {
        const int cx = static_cast<int>(view.anchorX), cyy = static_cast<int>(view.anchorY) - 1;
        const int rx = view.shadowRadiusX, ry = view.shadowRadiusY;
        for (int y = cyy - ry; y <= cyy + ry; ++y)
            for (int x = cx - rx; x <= cx + rx; ++x) {
                if (x < view.margin || y < view.margin || x >= w - view.margin || y >= h - view.margin) continue;
                const int dx = x - cx, dy = y - cyy;
                if (dx * dx * ry * ry + dy * dy * rx * rx > rx * rx * ry * ry) continue;
                if (outlined.at(x, y) == kKeyIndex && ((x + y) & 1) == 0) outlined.at(x, y) = pal.outline;
            }
    }
    return outlined;
}

}  // namespace assetgen
