#include "palette.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <stdexcept>

namespace assetgen {

namespace {

int l1(const Rgb& a, int r, int g, int b) { return std::abs(a.r - r) + std::abs(a.g - g) + std::abs(a.b - b); }

Rgb mean(const Rgb& a, const Rgb& b) {
    return Rgb{static_cast<uint8_t>((a.r + b.r) / 2), static_cast<uint8_t>((a.g + b.g) / 2),
               static_cast<uint8_t>((a.b + b.b) / 2)};
}

// Perceived brightness, 0..255, integer weights.
int luma(const Rgb& c) { return (299 * c.r + 587 * c.g + 114 * c.b) / 1000; }

// Key F1 outlines the minimap in a random entry 0..200 over the dark cave;
// every colour but black must stand out from it.
bool standsOutFromTheCave(const Rgb& c) { return luma(c) >= 40 || std::max({c.r, c.g, c.b}) >= 160; }

// A filler may be neither near the key, which nothing else may resemble, nor
// too dark for an outline.
bool fitsAsFiller(const Rgb& c) { return l1(kKeyColour, c.r, c.g, c.b) >= 120 && standsOutFromTheCave(c); }

// A colour too dark for an outline, brightened just enough to stand out: the
// smaller of the two scalings that reach the brightness or the channel limit.
Rgb liftedToStandOut(const Rgb& c) {
    if (standsOutFromTheCave(c)) return c;
    const int top = std::max({c.r, c.g, c.b});
    if (top == 0) return c;
    const double factor = std::min(40.5 / std::max(luma(c), 1), 160.0 / top);
    auto scaled = [factor](int v) { return static_cast<uint8_t>(std::min(255.0, std::ceil(v * factor))); };
    return Rgb{scaled(c.r), scaled(c.g), scaled(c.b)};
}

// The mean brightness of entry i in the demo's two generated palettes (keys 1
// and 2), their random parts taken at the middle of their ranges. Both climb
// from dark to bright, with a step back at 55 and at 95.
double generatedBrightness(int i) {
    auto lumaOf = [](double r, double g, double b) { return 0.299 * r + 0.587 * g + 0.114 * b; };
    double warm, cool;
    if (i <= 34) {
        warm = lumaOf(i + 35, 20, 7.5);
        cool = lumaOf(i + 5, i + 10, i + 7.5);
    } else if (i <= 54) {
        warm = lumaOf(i + 42.5, i + 15, 40.5);
        cool = lumaOf(i - 10, i + 30, i + 10);
    } else if (i <= 94) {
        warm = lumaOf(i + 15, i - 15, 15);
        cool = lumaOf(i - 20, i - 15, i + 50);
    } else if (i <= 199) {
        warm = lumaOf(i + 25, i - 30, 15);
        cool = lumaOf(i - 60, i - 30, i + 40);
    } else {
        warm = lumaOf(i, i - 10, 65);
        cool = lumaOf(175, i - 10.5, i);
    }
    return warm + cool;
}

// A ramp of `count` colours through the control colours, evenly spaced.
std::vector<Rgb> rampThrough(int count, std::initializer_list<Rgb> stops) {
    std::vector<Rgb> controls(stops);
    std::vector<Rgb> out;
    const int segments = static_cast<int>(controls.size()) - 1;
    for (int i = 0; i < count; ++i) {
        // Position along the whole ramp in 1/1000 steps.
        int t = count == 1 ? 0 : i * 1000 * segments / (count - 1);
        int seg = std::min(t / 1000, segments - 1);
        int f = t - seg * 1000;
        const Rgb& a = controls[static_cast<size_t>(seg)];
        const Rgb& b = controls[static_cast<size_t>(seg) + 1];
        auto lerp = [f](int x, int y) { return static_cast<uint8_t>(x + ((y - x) * f + (y > x ? 500 : -500)) / 1000); };
        out.push_back(Rgb{lerp(a.r, b.r), lerp(a.g, b.g), lerp(a.b, b.b)});
    }
    return out;
}

// One entry being placed: its colour and which ramp (if any) it belongs to.
struct Entry {
    Rgb colour;
    int ramp;  // -1 for blend fillers
    int shade;
};

// Adds blend fillers one at a time: each is the pair mean that the current
// entries serve worst. The bookkeeping is incremental (a new entry can only
// bring old means closer), so the whole search stays fast.
void addBlendFillers(std::vector<Rgb>& colours, size_t target) {
    struct PairMean {
        Rgb mean;
        int distance;
    };
    std::vector<PairMean> means;
    auto nearestDistance = [&](const Rgb& m) {
        int best = 1 << 30;
        for (const Rgb& c : colours) best = std::min(best, l1(c, m.r, m.g, m.b));
        return best;
    };
    for (size_t i = 0; i < colours.size(); ++i)
        for (size_t j = i; j < colours.size(); ++j) {
            Rgb m = mean(colours[i], colours[j]);
            means.push_back({m, nearestDistance(m)});
        }
    while (colours.size() < target) {
        // The worst-served mean, as a colour that may be a filler, where that
        // serves it better than the entries so far.
        int bestDistance = 0;
        Rgb best{};
        for (const PairMean& p : means) {
            if (p.distance <= bestDistance) continue;
            const Rgb candidate = liftedToStandOut(p.mean);
            if (!fitsAsFiller(candidate) || l1(candidate, p.mean.r, p.mean.g, p.mean.b) >= p.distance) continue;
            bestDistance = p.distance;
            best = candidate;
        }
        if (bestDistance == 0) throw std::runtime_error("palette: no colour left to add");
        colours.push_back(best);
        for (PairMean& p : means) p.distance = std::min(p.distance, l1(best, p.mean.r, p.mean.g, p.mean.b));
        for (const Rgb& c : colours) {
            Rgb m = mean(c, best);
            means.push_back({m, nearestDistance(m)});
        }
    }
}

// Moves each filler to the channel-wise median of the pair means it serves
// best (the point that minimises their summed L1 distance), a few rounds.
// The means themselves shift as the fillers move, so this only settles.
void refineFillers(std::vector<Rgb>& colours, size_t firstFiller, int rounds) {
    const size_t n = colours.size();
    for (int round = 0; round < rounds; ++round) {
        std::vector<std::vector<uint8_t>> r(n), g(n), b(n);
        for (size_t i = 0; i < n; ++i)
            for (size_t j = i; j < n; ++j) {
                const Rgb m = mean(colours[i], colours[j]);
                int best = 1 << 30;
                size_t owner = 0;
                for (size_t k = 0; k < n; ++k) {
                    const int d = l1(colours[k], m.r, m.g, m.b);
                    if (d < best) {
                        best = d;
                        owner = k;
                    }
                }
                const int weight = i == j ? 1 : 2;  // ordered pairs
                for (int w = 0; w < weight; ++w) {
                    r[owner].push_back(m.r);
                    g[owner].push_back(m.g);
                    b[owner].push_back(m.b);
                }
            }
        for (size_t k = firstFiller; k < n; ++k) {
            if (r[k].empty()) continue;
            auto median = [](std::vector<uint8_t>& v) {
                std::nth_element(v.begin(), v.begin() + static_cast<long>(v.size() / 2), v.end());
                return v[v.size() / 2];
            };
            const Rgb moved{median(r[k]), median(g[k]), median(b[k])};
            const bool clash = std::find(colours.begin(), colours.end(), moved) != colours.end();
            if (!clash && fitsAsFiller(moved)) colours[k] = moved;
        }
    }
}

Palette buildPalette() {
    const Rgb black{0, 0, 0}, white{255, 255, 255};
    // The other colours the demo asks GDI for: cyan, red, blue and olive.
    const Rgb gdiColours[] = {{0, 255, 255}, {255, 0, 0}, {0, 0, 255}, {125, 125, 0}};

    // Material ramps, darkest first; shadows lean cool, highlights warm. The
    // darkest shade of each still stands out from the cave, and the outlines
    // are black, so that the dark end of the generated palettes is left to
    // the dark shades.
    const std::vector<std::vector<Rgb>> ramps = {
        rampThrough(12, {{41, 39, 51}, {62, 57, 70}, {104, 96, 100}, {184, 172, 154}}),  // rock
        rampThrough(12, {{56, 39, 30}, {78, 54, 38}, {116, 82, 54}, {172, 130, 86}}),     // earth
        rampThrough(5, {{34, 54, 34}, {62, 94, 46}, {132, 160, 78}}),                     // moss
        rampThrough(5, {{88, 44, 36}, {158, 96, 68}, {238, 184, 138}}),                   // skin
        rampThrough(5, {{26, 52, 78}, {38, 98, 124}, {116, 186, 196}}),                   // jacket
        rampThrough(6, {{72, 28, 42}, {112, 36, 50}, {178, 74, 68}}),                     // cloak
        rampThrough(5, {{62, 38, 26}, {104, 64, 36}, {176, 122, 70}}),                    // leather
        rampThrough(5, {{70, 56, 32}, {146, 122, 72}, {222, 200, 138}}),                  // khaki
        rampThrough(4, {{44, 48, 58}, {104, 112, 124}, {206, 212, 220}}),                 // metal
        rampThrough(8, {{96, 22, 10}, {206, 64, 12}, {255, 166, 34}, {255, 244, 176}}),   // flame
        rampThrough(6, {{22, 56, 78}, {36, 150, 164}, {180, 255, 240}}),                  // crystal
        rampThrough(5, {{150, 126, 94}, {214, 194, 158}, {248, 238, 214}}),               // parchment
    };

    std::vector<Rgb> chosen = {black, white, kKeyColour};
    std::vector<Entry> entries;
    for (const Rgb& c : gdiColours) {
        chosen.push_back(c);
        entries.push_back({c, -1, 0});
    }
    for (size_t r = 0; r < ramps.size(); ++r)
        for (size_t s = 0; s < ramps[r].size(); ++s) {
            const Rgb& c = ramps[r][s];
            if (std::find(chosen.begin(), chosen.end(), c) != chosen.end())
                throw std::runtime_error("palette: a ramp colour repeats another entry");
            if (!standsOutFromTheCave(c)) throw std::runtime_error("palette: a ramp colour is too dark for an outline");
            chosen.push_back(c);
            entries.push_back({c, static_cast<int>(r), static_cast<int>(s)});
        }
    const size_t before = chosen.size();
    // Most fillers settle where they serve the most pairs; the last few go to
    // the pairs that are still served worst.
    addBlendFillers(chosen, 240);
    refineFillers(chosen, before, 8);
    addBlendFillers(chosen, 256);
    for (size_t i = before; i < chosen.size(); ++i) entries.push_back({chosen[i], -1, 0});

    // The k-th darkest colour goes to the k-th darkest entry of the generated
    // palettes, so that a random palette keeps the art's brightness order.
    std::vector<size_t> byBrightness(entries.size());
    for (size_t i = 0; i < byBrightness.size(); ++i) byBrightness[i] = i;
    std::stable_sort(byBrightness.begin(), byBrightness.end(),
                     [&](size_t a, size_t b) { return luma(entries[a].colour) < luma(entries[b].colour); });
    std::vector<int> slots;
    for (int s = 1; s < kWhiteIndex; ++s)
        if (s != kKeyIndex) slots.push_back(s);
    std::stable_sort(slots.begin(), slots.end(),
                     [](int a, int b) { return generatedBrightness(a) < generatedBrightness(b); });
    if (slots.size() != entries.size()) throw std::runtime_error("palette: the colours do not fill the entries");

    Palette p;
    p.colours[kBlackIndex] = black;
    p.colours[kWhiteIndex] = white;
    p.colours[kKeyIndex] = kKeyColour;
    Ramp* rampSlots[] = {&p.rock, &p.earth,  &p.moss,  &p.skin,    &p.jacket,    &p.cloak,
                         &p.leather, &p.khaki, &p.metal, &p.flame, &p.crystal, &p.parchment};
    for (size_t r = 0; r < ramps.size(); ++r) rampSlots[r]->index.resize(ramps[r].size());
    for (size_t k = 0; k < slots.size(); ++k) {
        const Entry& entry = entries[byBrightness[k]];
        const uint8_t slot = static_cast<uint8_t>(slots[k]);
        p.colours[slot] = entry.colour;
        if (entry.ramp >= 0) rampSlots[entry.ramp]->index[static_cast<size_t>(entry.shade)] = slot;
    }
    return p;
}

}  // namespace

const Palette& palette() {
    static const Palette built = buildPalette();
    return built;
}

uint8_t nearestIndex(const ColourTable& colours, int r, int g, int b, int* distance) {
    int best = 1 << 30;
    uint8_t found = 0;
    for (int i = 0; i < 256; ++i) {
        int d = l1(colours[static_cast<size_t>(i)], r, g, b);
        if (d < best) {
            best = d;
            found = static_cast<uint8_t>(i);
            if (d == 0) break;
        }
    }
    if (distance) *distance = best;
    return found;
}

BlendStats blendStats(const ColourTable& colours) {
    BlendStats s;
    long long sum = 0, sumWithoutKey = 0, countWithoutKey = 0;
    for (int a = 0; a < 256; ++a)
        for (int b = 0; b < 256; ++b) {
            Rgb m = mean(colours[static_cast<size_t>(a)], colours[static_cast<size_t>(b)]);
            int d = 0;
            uint8_t picked = nearestIndex(colours, m.r, m.g, m.b, &d);
            sum += d;
            s.worstDistance = std::max(s.worstDistance, d);
            if (a != kKeyIndex && b != kKeyIndex) {
                sumWithoutKey += d;
                ++countWithoutKey;
                s.worstDistanceWithoutKey = std::max(s.worstDistanceWithoutKey, d);
                if (picked == kKeyIndex) ++s.pairsLandingOnKey;
            }
        }
    s.meanDistance = static_cast<double>(sum) / 65536.0;
    s.meanDistanceWithoutKey = static_cast<double>(sumWithoutKey) / static_cast<double>(countWithoutKey);
    return s;
}

}  // namespace assetgen
