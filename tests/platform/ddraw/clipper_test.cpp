// Copies into a surface with a clipper are clipped to the clipper window's
// client area, the source rectangle moving (and scaling) with the destination.
#include "platform/ddraw/fixture.h"

namespace {

using Pixels = std::vector<uint8_t>;

LRESULT CALLBACK plainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

class DirectDrawClipperTest : public DirectDrawTest {
protected:
    void SetUp() override {
        DirectDrawTest::SetUp();
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = plainWindowProc;
        windowClass.lpszClassName = "ClipperTest";
        RegisterClassA(&windowClass);
        window = CreateWindowExA(0, "ClipperTest", "ClipperTest", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr,
                                 nullptr, nullptr);
        ASSERT_NE(window, nullptr);
        ASSERT_TRUE(GetClientRect(window, &client));
        ASSERT_GT(client.right, 60);
        ASSERT_GT(client.bottom, 60);
        ASSERT_LT(client.right, 640);
        ASSERT_LT(client.bottom, 480);

        canvas = offscreen(640, 480);
        LPDIRECTDRAWCLIPPER clipper = nullptr;
        ASSERT_EQ(device->CreateClipper(0, &clipper, nullptr), DD_OK);
        ASSERT_EQ(clipper->SetHWnd(0, window), DD_OK);
        ASSERT_EQ(canvas->SetClipper(clipper), DD_OK);
        fill(canvas, 0);
        sprite = keyedOffscreen(50, 50);
        write(sprite, pattern(50, 50));
    }

    // Checks that canvas pixel (x, y) holds sprite pixel (x - dx, y - dy) inside
    // `drawn` and 0 everywhere else.
    void expectCopied(const RECT& drawn, int dx, int dy) {
        const Pixels got = read(canvas);
        const Pixels source = pattern(50, 50);
        for (int y = 0; y < 480; ++y)
            for (int x = 0; x < 640; ++x) {
                const bool inside = x >= drawn.left && x < drawn.right && y >= drawn.top && y < drawn.bottom;
                const uint8_t want = inside ? source[static_cast<size_t>(y - dy) * 50 + (x - dx)] : 0;
                ASSERT_EQ(got[static_cast<size_t>(y) * 640 + x], want) << x << "," << y;
            }
    }

    HWND window = nullptr;
    RECT client{};
    LPDIRECTDRAWSURFACE canvas = nullptr;
    LPDIRECTDRAWSURFACE sprite = nullptr;
};

TEST_F(DirectDrawClipperTest, ClipsAtTheClientAreasFarEdges) {
    const int x = client.right - 20, y = client.bottom - 30;
    RECT to{x, y, x + 50, y + 50};
    ASSERT_EQ(canvas->Blt(&to, sprite, nullptr, DDBLT_KEYSRC | DDBLT_WAIT, nullptr), DD_OK);
    expectCopied(RECT{x, y, client.right, client.bottom}, x, y);
}

TEST_F(DirectDrawClipperTest, ClipsAtTheTopLeftAndShiftsTheSource) {
    RECT to{-10, -20, 40, 30};
    ASSERT_EQ(canvas->Blt(&to, sprite, nullptr, DDBLT_KEYSRC | DDBLT_WAIT, nullptr), DD_OK);
    expectCopied(RECT{0, 0, 40, 30}, -10, -20);
}

TEST_F(DirectDrawClipperTest, ClippedStretchKeepsTheScale) {
    LPDIRECTDRAWSURFACE small = offscreen(10, 1);
    write(small, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    RECT to{-6, 0, 14, 2};  // twice as wide and tall; the first three source pixels fall off
    ASSERT_EQ(canvas->Blt(&to, small, nullptr, DDBLT_WAIT, nullptr), DD_OK);
    const Pixels got = read(canvas);
    EXPECT_EQ(Pixels(got.begin(), got.begin() + 15), (Pixels{4, 4, 5, 5, 6, 6, 7, 7, 8, 8, 9, 9, 10, 10, 0}));
    EXPECT_EQ(got[640 + 13], 10);
    EXPECT_EQ(got[2 * 640], 0);
}

TEST_F(DirectDrawClipperTest, WhollyOutsideDrawsNothingAndSucceeds) {
    for (RECT to : {RECT{-60, 0, -10, 50}, RECT{client.right, 0, client.right + 50, 50},
                    RECT{0, client.bottom + 5, 50, client.bottom + 55}, RECT{100000, 100000, 100050, 100050}}) {
        EXPECT_EQ(canvas->Blt(&to, sprite, nullptr, DDBLT_KEYSRC | DDBLT_WAIT, nullptr), DD_OK);
    }
    DDBLTFX fx{};
    fx.dwSize = sizeof fx;
    fx.dwFillColor = 9;
    RECT offScreen{-100, -100, -1, -1};
    EXPECT_EQ(canvas->Blt(&offScreen, nullptr, nullptr, DDBLT_COLORFILL, &fx), DD_OK);
    EXPECT_EQ(read(canvas), Pixels(640 * 480, 0));
}

TEST_F(DirectDrawClipperTest, FillIsClippedToo) {
    DDBLTFX fx{};
    fx.dwSize = sizeof fx;
    fx.dwFillColor = 4;
    ASSERT_EQ(canvas->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, &fx), DD_OK);
    const Pixels got = read(canvas);
    EXPECT_EQ(got[static_cast<size_t>(client.bottom - 1) * 640 + client.right - 1], 4);
    EXPECT_EQ(got[static_cast<size_t>(client.bottom - 1) * 640 + client.right], 0);
    EXPECT_EQ(got[static_cast<size_t>(client.bottom) * 640], 0);
}

TEST_F(DirectDrawClipperTest, ClippingLeavesTheProgramsCallsAlone) {
    // Fault plans and the call log count the program's GetClientRect calls only.
    platform::failCall("GetClientRect", 1);
    RECT to{0, 0, 50, 50};
    ASSERT_EQ(canvas->Blt(&to, sprite, nullptr, DDBLT_KEYSRC | DDBLT_WAIT, nullptr), DD_OK);
    RECT got{};
    EXPECT_FALSE(GetClientRect(window, &got));
}

TEST_F(DirectDrawClipperTest, ADestroyedWindowLeavesNoClipList) {
    ASSERT_TRUE(DestroyWindow(window));
    RECT to{0, 0, 50, 50};
    EXPECT_EQ(canvas->Blt(&to, sprite, nullptr, DDBLT_KEYSRC | DDBLT_WAIT, nullptr), DDERR_NOCLIPLIST);
    EXPECT_EQ(read(canvas), Pixels(640 * 480, 0));
}

}  // namespace
