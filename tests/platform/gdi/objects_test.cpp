// GDI objects: defaults of a new context, SelectObject and DeleteObject rules,
// stock objects, hostile handles, the live-object count, reset, call tracing.
#include <windows.h>

#include <algorithm>

#include "platform/gdi/memory_target.h"
#include "platform/control.h"

using namespace gdi_test;

namespace {

class GdiObjects : public GdiTest {};

TEST_F(GdiObjects, NewContextSelectsTheDefaultsAndSelectObjectReturnsThePrevious) {
    MemoryTarget t(8, 8);
    HPEN a = CreatePen(PS_SOLID, 3, RGB(255, 0, 0));
    HPEN b = CreatePen(PS_SOLID, 1, RGB(0, 255, 0));
    HBRUSH brush = CreateSolidBrush(RGB(0, 0, 255));
    HFONT font = CreateFontA(10, 0, 0, 0, FW_THIN, 0, 0, 0, 0, 0, 0, 0, 0, "Fixedsys");
    EXPECT_EQ(SelectObject(t.dc(), a), GetStockObject(BLACK_PEN));
    EXPECT_EQ(SelectObject(t.dc(), brush), GetStockObject(WHITE_BRUSH));
    EXPECT_EQ(SelectObject(t.dc(), font), GetStockObject(SYSTEM_FONT));
    EXPECT_EQ(SelectObject(t.dc(), b), a);  // each kind has its own slot
    EXPECT_EQ(SelectObject(t.dc(), GetStockObject(NULL_BRUSH)), brush);
    EXPECT_EQ(GetTextColor(t.dc()), RGB(0, 0, 0));
    EXPECT_EQ(GetBkMode(t.dc()), OPAQUE);
}

TEST_F(GdiObjects, SelectObjectRefusesWhatIsNotAnObjectOrAContext) {
    MemoryTarget t(8, 8);
    HPEN pen = CreatePen(PS_SOLID, 1, 0);
    EXPECT_EQ(SelectObject(nullptr, pen), nullptr);
    EXPECT_EQ(SelectObject(reinterpret_cast<HDC>(0x77), pen), nullptr);
    EXPECT_EQ(SelectObject(t.dc(), nullptr), nullptr);
    EXPECT_EQ(SelectObject(t.dc(), reinterpret_cast<HGDIOBJ>(1)), nullptr);
    EXPECT_EQ(SelectObject(t.dc(), reinterpret_cast<HGDIOBJ>(-1)), nullptr);
    EXPECT_EQ(SelectObject(t.dc(), reinterpret_cast<HGDIOBJ>(t.dc())), nullptr);  // a context is no object
    EXPECT_EQ(SelectObject(t.dc(), pen), GetStockObject(BLACK_PEN));  // the slot was left alone
}

TEST_F(GdiObjects, AnObjectSelectedIntoAnOpenContextIsNotDeleted) {
    MemoryTarget t(8, 8);
    HBRUSH brush = CreateSolidBrush(RGB(255, 0, 0));
    SelectObject(t.dc(), brush);
    EXPECT_FALSE(DeleteObject(brush));
    const POINT box[] = {{0, 0}, {4, 0}, {4, 4}, {0, 4}};
    EXPECT_TRUE(Polygon(t.dc(), box, 4));
    EXPECT_EQ(t.at(1, 1), RED);  // still there and still drawing

    SelectObject(t.dc(), GetStockObject(WHITE_BRUSH));
    EXPECT_TRUE(DeleteObject(brush));
    EXPECT_FALSE(DeleteObject(brush));  // a second time: no such object
    EXPECT_EQ(SelectObject(t.dc(), brush), nullptr);
}

TEST_F(GdiObjects, ClosingTheContextReleasesItsObjects) {
    auto* target = new MemoryTarget(8, 8);
    HPEN pen = CreatePen(PS_SOLID, 2, RGB(0, 0, 255));
    SelectObject(target->dc(), pen);
    EXPECT_FALSE(DeleteObject(pen));
    delete target;  // closes its context, as ReleaseDC does
    EXPECT_TRUE(DeleteObject(pen));
}

TEST_F(GdiObjects, StockObjectsAreSharedAndNeverFreed) {
    for (int i : {WHITE_BRUSH, LTGRAY_BRUSH, GRAY_BRUSH, DKGRAY_BRUSH, BLACK_BRUSH, NULL_BRUSH, WHITE_PEN, BLACK_PEN,
                  NULL_PEN, OEM_FIXED_FONT, ANSI_FIXED_FONT, ANSI_VAR_FONT, SYSTEM_FONT, DEVICE_DEFAULT_FONT,
                  SYSTEM_FIXED_FONT, DEFAULT_GUI_FONT}) {
        HGDIOBJ stock = GetStockObject(i);
        ASSERT_NE(stock, nullptr) << i;
        EXPECT_EQ(GetStockObject(i), stock);
        EXPECT_TRUE(DeleteObject(stock));
        EXPECT_EQ(GetStockObject(i), stock);
    }
    for (int i : {-1, 9, 15, 18, 1000, INT_MIN}) EXPECT_EQ(GetStockObject(i), nullptr) << i;

    MemoryTarget t(8, 8);
    SelectObject(t.dc(), GetStockObject(BLACK_BRUSH));
    EXPECT_TRUE(DeleteObject(GetStockObject(BLACK_BRUSH)));
    EXPECT_TRUE(Ellipse(t.dc(), 0, 0, 8, 8));
    EXPECT_EQ(t.at(4, 4), BLACK);
    EXPECT_EQ(platform::liveGdiObjects(), 1);  // only the open context
}

TEST_F(GdiObjects, LiveObjectsCountWhatTheProgramMadeAndOpenContexts) {
    EXPECT_EQ(platform::liveGdiObjects(), 0);
    HPEN pen = CreatePen(PS_SOLID, 1, 0);
    HBRUSH brush = CreateSolidBrush(0);
    HFONT font = CreateFontA(0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, "System");
    EXPECT_EQ(platform::liveGdiObjects(), 3);
    {
        MemoryTarget t(4, 4);
        t.dc();
        EXPECT_EQ(platform::liveGdiObjects(), 4);
    }
    EXPECT_TRUE(DeleteObject(pen));
    EXPECT_TRUE(DeleteObject(brush));
    EXPECT_TRUE(DeleteObject(font));
    EXPECT_EQ(platform::liveGdiObjects(), 0);
    EXPECT_EQ(CreatePen(PS_SOLID + 1, 1, 0), nullptr);  // dashed pens are not made
    EXPECT_EQ(platform::liveGdiObjects(), 0);
}

TEST_F(GdiObjects, ResetDeletesEveryObjectTheProgramMade) {
    HPEN pen = CreatePen(PS_SOLID, 1, 0);
    HBRUSH brush = CreateSolidBrush(0);
    HGDIOBJ stock = GetStockObject(NULL_PEN);
    EXPECT_EQ(platform::liveGdiObjects(), 2);
    qmp::runResetHooks();
    EXPECT_EQ(platform::liveGdiObjects(), 0);
    EXPECT_FALSE(DeleteObject(pen));
    EXPECT_FALSE(DeleteObject(brush));
    EXPECT_EQ(GetStockObject(NULL_PEN), stock);
    HPEN again = CreatePen(PS_SOLID, 1, 0);
    EXPECT_NE(again, pen);  // handles are not reused
}

TEST_F(GdiObjects, EveryCallIsTracedAndFailsWhenToldTo) {
    MemoryTarget t(16, 16);
    platform::setCallLogging(true);
    HPEN pen = CreatePen(PS_SOLID, 2, RGB(255, 0, 0));
    SelectObject(t.dc(), pen);
    Ellipse(t.dc(), 0, 0, 4, 4);
    TextOutA(t.dc(), 0, 0, "x", 1);
    DeleteObject(pen);
    std::vector<std::string> names;
    for (const platform::CallRecord& r : platform::callLog()) names.push_back(r.name);
    EXPECT_EQ(names, (std::vector<std::string>{"CreatePen", "SelectObject", "Ellipse", "TextOutA", "DeleteObject"}));

    t.fill(BACKGROUND);
    platform::failCall("CreatePen", 1);
    EXPECT_EQ(CreatePen(PS_SOLID, 1, 0), nullptr);
    EXPECT_NE(CreatePen(PS_SOLID, 1, 0), nullptr);  // only the planned call fails
    platform::failCall("Ellipse", 1);
    EXPECT_FALSE(Ellipse(t.dc(), 0, 0, 8, 8));
    platform::failCall("TextOutA", 1);
    EXPECT_FALSE(TextOutA(t.dc(), 0, 0, "x", 1));
    platform::failCall("Polygon", 1);
    const POINT box[] = {{0, 0}, {4, 0}, {4, 4}};
    EXPECT_FALSE(Polygon(t.dc(), box, 3));
    EXPECT_EQ(t.count(BACKGROUND), 256);  // a failed call draws nothing

    platform::failCall("GetPixel", 1);
    EXPECT_EQ(GetPixel(t.dc(), 0, 0), CLR_INVALID);
    platform::failCall("SetTextColor", 1);
    EXPECT_EQ(SetTextColor(t.dc(), RGB(1, 2, 3)), CLR_INVALID);
    EXPECT_EQ(GetTextColor(t.dc()), RGB(0, 0, 0));
    platform::failCall("SelectObject", 1);
    EXPECT_EQ(SelectObject(t.dc(), GetStockObject(BLACK_BRUSH)), nullptr);
    EXPECT_EQ(SelectObject(t.dc(), GetStockObject(BLACK_BRUSH)), GetStockObject(WHITE_BRUSH));
    platform::failCall("DeleteObject", 1);
    HBRUSH brush = CreateSolidBrush(0);
    EXPECT_FALSE(DeleteObject(brush));
    EXPECT_TRUE(DeleteObject(brush));
}

}  // namespace
