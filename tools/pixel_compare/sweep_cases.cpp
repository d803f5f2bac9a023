// Sweeps: one shape per case over many sizes and directions, so that a rule
// that holds for the demo's few shapes is seen to hold for all of them.
#include "probe.h"

namespace probe {
namespace {

Outcome oneLine(Device& d, int size, int x0, int y0, int x1, int y1, int width) {
    SurfaceDc dc(d.target);
    line(dc.get(), x0, y0, x1, y1, width, RGB(255, 0, 0));
    return {dc.result(), nullptr, size};
}

Outcome oneEllipse(Device& d, int width, int height, int penWidth, bool filled) {
    SurfaceDc dc(d.target);
    HPEN pen = penWidth > 0 ? CreatePen(PS_SOLID, penWidth, RGB(0, 0, 0)) : static_cast<HPEN>(GetStockObject(NULL_PEN));
    HBRUSH brush = CreateSolidBrush(RGB(0, 255, 255));
    HGDIOBJ oldPen = SelectObject(dc.get(), pen);
    HGDIOBJ oldBrush = SelectObject(dc.get(), filled ? static_cast<HGDIOBJ>(brush) : GetStockObject(NULL_BRUSH));
    Ellipse(dc.get(), 8, 8, 8 + width, 8 + height);
    SelectObject(dc.get(), oldPen);
    SelectObject(dc.get(), oldBrush);
    DeleteObject(pen);
    DeleteObject(brush);
    return {dc.result(), nullptr, 32};
}

std::string text(int v) {
    std::string digits = std::to_string(v);
    if (v >= 0) digits.insert(digits.begin(), '+');
    return digits;
}

}  // namespace

std::vector<Case> sweepCases() {
    std::vector<Case> cases;
    for (int dy = -12; dy <= 12; ++dy)
        for (int dx = -12; dx <= 12; ++dx)
            cases.push_back({"thin line " + text(dx) + "," + text(dy), "sweep",
                             [=](Device& d) { return oneLine(d, 32, 16, 16, 16 + dx, 16 + dy, 1); }});
    for (int width = 1; width <= 20; ++width)
        cases.push_back({"dot, width " + std::to_string(width), "sweep",
                         [=](Device& d) { return oneLine(d, 32, 16, 16, 16, 16, width); }});
    const int ends[][2] = {{1, 0},  {1, 1},  {2, 1},   {3, 1},  {5, 2},   {8, 3},    {20, 0},
                           {20, 5}, {20, 10}, {20, 13}, {20, 20}, {13, 20}, {10, 20}, {5, 20},
                           {0, 20}, {-20, 7}, {-7, 20}, {-15, -15}, {3, -17}, {-2, -1}, {17, -9}};
    for (int width = 2; width <= 8; ++width)
        for (const auto& e : ends) {
            const int dx = e[0], dy = e[1];
            cases.push_back({"wide line, width " + std::to_string(width) + ", " + text(dx) + "," + text(dy), "sweep",
                             [=](Device& d) { return oneLine(d, kSize, 32 - dx / 2, 32 - dy / 2,
                                                             32 + dx - dx / 2, 32 + dy - dy / 2, width); }});
        }
    for (int penWidth = 1; penWidth <= 3; ++penWidth)
        for (bool filled : {false, true})
            for (int w = 1; w <= 13; ++w)
                for (int k = 0; k < 3; ++k) {
                    const int heights[] = {w / 2 + 1, w, w + 3};
                    const int h = heights[k];
                    if (k == 1 && h == heights[0]) continue;  // widths 1 and 2: made already
                    cases.push_back({"ellipse " + std::to_string(w) + " x " + std::to_string(h) + ", pen " +
                                         std::to_string(penWidth) + (filled ? ", filled" : ", hollow"),
                                     "sweep", [=](Device& d) { return oneEllipse(d, w, h, penWidth, filled); }});
                }
    for (int w = 1; w <= 16; ++w)
        for (int h = 1; h <= 16; ++h)
            cases.push_back({"ellipse " + std::to_string(w) + " x " + std::to_string(h) + ", no pen", "sweep",
                             [=](Device& d) { return oneEllipse(d, w, h, 0, true); }});
    for (int radius = 1; radius <= 12; ++radius)
        cases.push_back({"disc, radius " + std::to_string(radius), "sweep", [=](Device& d) {
                             SurfaceDc dc(d.target);
                             disc(dc.get(), 16, 16, radius, RGB(255, 0, 0));
                             return Outcome{dc.result(), nullptr, 32};
                         }});
    return cases;
}

}  // namespace probe
