// Movers never leave the cave: wanderer-like timed steps with bounces, and view
// steps through moveViewBy, over many generated caves.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <sstream>

#include "app/clock.h"
#include "display/display.h"
#include "support/platform_test.h"
#include "test_sheet.h"
#include "world/cave.h"

namespace {

constexpr int CAVES = 100;
constexpr int WANDERERS = 20;
constexpr int WANDERER_STEPS = 120;
constexpr int VIEW_STEPS = 2400;

class MoverPropertyTest : public PlatformTest {
protected:
    void SetUp() override {
        PlatformTest::SetUp();
        directDraw = nullptr;  // no display: the cave's surfaces are not made
        makeSheet(sheet, 624, 704);     // the cells of the demo's sheet, 320 x 400
        makeSheet(smallCells, 344, 364);  // 40 x 60: a step can cross several rows
    }

    // Every other cave has small cells.
    void generateCave(int index, uint32_t clock) {
        platform::setTime(clock);
        gameRandom.reseed();
        ASSERT_TRUE(cave.generate(index % 2 ? &smallCells : &sheet, 6400, 6400));
    }

    bool inRock(int32_t x, int32_t y) const {
        int16_t row, column;
        return !cave.isOpenCell(x, y, row, column);
    }

    // The first few escapes, for the failure message.
    void note(const char* who, int caveIndex, int32_t x, int32_t y, int32_t tx, int32_t ty, int32_t nx, int32_t ny,
              int id) {
        if (++escapes > 10) return;
        report << who << " in cave " << caveIndex << ": (" << x << ", " << y << ") -> (" << tx << ", " << ty
               << ") ended at (" << nx << ", " << ny << "), debugId " << id << "\n";
    }

    SheetBitmap sheet;
    SheetBitmap smallCells;
    CaveWorld cave;
    int escapes = 0;
    std::ostringstream report;
};

TEST_F(MoverPropertyTest, WanderersStayInOpenCells) {
    int64_t steps = 0;
    for (int c = 0; c < CAVES; ++c) {
        generateCave(c, 77 + c * 104729u);
        if (HasFatalFailure()) return;
        std::mt19937 random(c);
        auto uniform = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
        auto velocity = [&] { return uniform(100, 1500) * (uniform(0, 1) ? 1 : -1); };
        for (int w = 0; w < WANDERERS; ++w) {
            int32_t x, y;
            cave.randomOpenPoint(x, y);
            int32_t vx = velocity(), vy = velocity();
            const int32_t speed = static_cast<int32_t>(std::hypot(vx, vy));
            for (int s = 0; s < WANDERER_STEPS; ++s, ++steps) {
                const int32_t dt = uniform(1, 100);
                int32_t tx = x + dt * vx / 1000, ty = y + dt * vy / 1000;
                const int32_t fromX = x, fromY = y, toX = tx, toY = ty;
                int32_t hx, hy;
                if (cave.moveWithCollision(x, y, tx, ty, hx, hy)) {
                    // Bounce as a wanderer does: stand at the hit point, head for the reflected target.
                    x = hx;
                    y = hy;
                    const double d = std::hypot(tx - hx, ty - hy);
                    if (d > 0) {
                        vx = static_cast<int32_t>((tx - hx) * speed / d);
                        vy = static_cast<int32_t>((ty - hy) * speed / d);
                    }
                    if (vx == 0) vx = speed;
                    if (vy == 0) vy = speed;
                } else {
                    x = tx;
                    y = ty;
                }
                if (inRock(x, y)) {
                    note("wanderer", c, fromX, fromY, toX, toY, x, y, debugId);
                    cave.randomOpenPoint(x, y);  // go on counting from a fresh start
                }
            }
        }
    }
    std::printf("wanderer steps: %lld, ended in rock: %d\n", static_cast<long long>(steps), escapes);
    EXPECT_EQ(escapes, 0) << report.str();
}

TEST_F(MoverPropertyTest, TheViewStaysInOpenCells) {
    int64_t steps = 0;
    for (int c = 0; c < CAVES; ++c) {
        generateCave(c, 91 + c * 7907u);
        if (HasFatalFailure()) return;
        std::mt19937 random(1000 + c);
        auto uniform = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
        int32_t vecStep = uniform(2, 400);
        for (int s = 0; s < VIEW_STEPS; ++s, ++steps) {
            if (uniform(0, 20) == 0) vecStep = uniform(2, 400);  // Shift and Ctrl change "Vec" now and then
            const int32_t dx = vecStep * uniform(-1, 1), dy = vecStep * uniform(-1, 1);
            const int32_t fromX = cave.viewX, fromY = cave.viewY;
            cave.moveViewBy(dx, dy);
            if (inRock(cave.viewX, cave.viewY)) {
                note("view", c, fromX, fromY, fromX + dx, fromY + dy, cave.viewX, cave.viewY, debugId);
                cave.randomOpenPoint(cave.viewX, cave.viewY);
            }
        }
    }
    std::printf("view steps: %lld, ended in rock: %d\n", static_cast<long long>(steps), escapes);
    EXPECT_EQ(escapes, 0) << report.str();
}

}  // namespace
