// The platform's message box: layout, answers by key and mouse, text wrapping
// and decoding, and its drawing over the dimmed picture.
#include <gtest/gtest.h>

#include <windows.h>

#include <array>
#include <string>

#include "core/box_view.h"
#include "core/glyphs.h"
#include "core/text.h"

using namespace qmp;
using qmp::text::fromUtf8;

namespace {

constexpr unsigned kYesNoCancel = 3;
constexpr unsigned kDefButton2 = 0x100;
const std::u32string kPrompt = U"ESC 鍵按下了！確定退出？";

int textWidth(const std::u32string& text) { return qmp::fonts::textWidth(qmp::fonts::Face::Default, text); }

bool inside(const Rect& inner, const Rect& outer) {
    return inner.x >= outer.x && inner.y >= outer.y && inner.x + inner.w <= outer.x + outer.w &&
           inner.y + inner.h <= outer.y + outer.h;
}

bool overlap(const Rect& a, const Rect& b) {
    return a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h && b.y < a.y + a.h;
}

Point centre(const Rect& r) { return {r.x + r.w / 2, r.y + r.h / 2}; }

Frame solid(int width, int height, uint8_t value) {
    Frame frame;
    frame.width = width;
    frame.height = height;
    frame.pixels.assign(size_t(width) * size_t(height), frame.format.pack(value, value, value));
    return frame;
}

// The pixel's red, green and blue.
std::array<uint8_t, 3> pixel(const Frame& frame, int x, int y) {
    const uint32_t p = frame.row(y)[x];
    return {frame.format.red(p), frame.format.green(p), frame.format.blue(p)};
}

}  // namespace

TEST(SdlMessageBoxLayout, TheQuitPromptSitsCentredWithItsTwoButtons) {
    const BoxLayout box = layoutBox(kPrompt, U"Keyboard", MB_YESNO, 640, 480);
    const Rect picture{0, 0, 640, 480};
    EXPECT_TRUE(inside(box.outline, picture));
    EXPECT_LE(std::abs((640 - box.outline.x - box.outline.w) - box.outline.x), 1);
    EXPECT_LE(std::abs((480 - box.outline.y - box.outline.h) - box.outline.y), 1);
    ASSERT_EQ(box.lines.size(), 1u);
    EXPECT_EQ(box.lines[0].text, U"ESC 鍵按下了！確定退出？");
    EXPECT_EQ(box.caption.text, U"Keyboard");
    EXPECT_TRUE(inside(box.titleBar, box.outline));

    ASSERT_EQ(box.buttons.size(), 2u);
    EXPECT_EQ(box.buttons[0].answer, IDYES);
    EXPECT_EQ(box.buttons[1].answer, IDNO);
    EXPECT_EQ(box.defaultButton, 0u);
    for (const BoxButton& button : box.buttons) {
        EXPECT_TRUE(inside(button.rect, box.outline));
        EXPECT_FALSE(overlap(button.rect, box.titleBar));
        EXPECT_GT(button.rect.y, box.lines[0].at.y + 16) << "buttons below the text";
        EXPECT_GE(button.rect.w, textWidth(button.label));
    }
    EXPECT_EQ(box.buttons[0].rect.y, box.buttons[1].rect.y);
    EXPECT_LT(box.buttons[0].rect.x + box.buttons[0].rect.w, box.buttons[1].rect.x) << "Yes left of No, apart";
    EXPECT_GE(box.lines[0].at.x + textWidth(box.lines[0].text), 0);
    EXPECT_LE(box.lines[0].at.x + textWidth(box.lines[0].text), box.outline.x + box.outline.w);
}

TEST(SdlMessageBoxLayout, EachBoxTypeHasItsButtonsInWindowsOrder) {
    auto answers = [](unsigned type) {
        std::vector<int> out;
        for (const BoxButton& b : layoutBox(U"x", U"c", type, 640, 480).buttons) out.push_back(b.answer);
        return out;
    };
    EXPECT_EQ(answers(MB_OK), std::vector<int>{IDOK});
    EXPECT_EQ(answers(MB_OKCANCEL), (std::vector<int>{IDOK, IDCANCEL}));
    EXPECT_EQ(answers(kYesNoCancel), (std::vector<int>{IDYES, IDNO, IDCANCEL}));
    EXPECT_EQ(answers(MB_YESNO | MB_ICONQUESTION), (std::vector<int>{IDYES, IDNO})) << "icon flags do not matter";
    EXPECT_EQ(layoutBox(U"x", U"c", MB_YESNO | kDefButton2, 640, 480).defaultButton, 1u);
    EXPECT_EQ(layoutBox(U"x", U"c", MB_OK | kDefButton2, 640, 480).defaultButton, 0u) << "no second button: the first";
}

TEST(SdlMessageBoxLayout, ButtonsAreHitInsideTheirRectanglesOnly) {
    const BoxLayout box = layoutBox(kPrompt, U"Keyboard", kYesNoCancel, 640, 480);
    for (size_t i = 0; i < box.buttons.size(); ++i) {
        const Rect& r = box.buttons[i].rect;
        EXPECT_EQ(buttonAt(box, centre(r)), int(i));
        EXPECT_EQ(buttonAt(box, {r.x, r.y}), int(i)) << "top-left corner is inside";
        EXPECT_EQ(buttonAt(box, {r.x + r.w - 1, r.y + r.h - 1}), int(i)) << "bottom-right pixel is inside";
        EXPECT_EQ(buttonAt(box, {r.x + r.w, r.y}), -1) << "the pixel right of a button is the gap";
        EXPECT_EQ(buttonAt(box, {r.x, r.y + r.h}), -1);
        EXPECT_EQ(buttonAt(box, {r.x - 1, r.y}), -1);
    }
    EXPECT_EQ(buttonAt(box, box.lines[0].at), -1);
    EXPECT_EQ(buttonAt(box, centre(box.titleBar)), -1);
    EXPECT_EQ(buttonAt(box, {-1, -1}), -1);
}

TEST(SdlMessageBoxAnswers, KeysAnswerAsEveryBoxTakesThem) {
    const BoxLayout yesNo = layoutBox(kPrompt, U"Keyboard", MB_YESNO, 640, 480);
    EXPECT_EQ(BoxInteraction(yesNo, MB_YESNO).key('Y'), IDYES);
    EXPECT_EQ(BoxInteraction(yesNo, MB_YESNO).key('N'), IDNO);
    EXPECT_EQ(BoxInteraction(yesNo, MB_YESNO).key(VK_ESCAPE), IDNO);
    EXPECT_EQ(BoxInteraction(yesNo, MB_YESNO).key(VK_RETURN), IDYES) << "Enter: the default button";
    EXPECT_EQ(BoxInteraction(yesNo, MB_YESNO).key(VK_SPACE), IDYES);
    EXPECT_EQ(BoxInteraction(yesNo, MB_YESNO).key('A'), 0);
    EXPECT_EQ(BoxInteraction(yesNo, MB_YESNO).key(VK_F1), 0);

    const BoxLayout ok = layoutBox(U"Game initial Failed!", U"LoadImages()", MB_OK, 640, 480);
    EXPECT_EQ(BoxInteraction(ok, MB_OK).key(VK_ESCAPE), IDOK);
    EXPECT_EQ(BoxInteraction(ok, MB_OK).key('Y'), 0) << "no Yes button";
    EXPECT_EQ(BoxInteraction(ok, MB_OK).key('N'), 0);
    EXPECT_EQ(BoxInteraction(ok, MB_OK).key(VK_RETURN), IDOK);

    const BoxLayout okCancel = layoutBox(U"x", U"c", MB_OKCANCEL, 640, 480);
    EXPECT_EQ(BoxInteraction(okCancel, MB_OKCANCEL).key(VK_ESCAPE), IDCANCEL);

    const BoxLayout second = layoutBox(U"x", U"c", MB_YESNO | kDefButton2, 640, 480);
    EXPECT_EQ(BoxInteraction(second, MB_YESNO | kDefButton2).key(VK_RETURN), IDNO);
}

TEST(SdlMessageBoxAnswers, TabAndArrowsMoveTheFocusThatEnterPresses) {
    const BoxLayout box = layoutBox(U"x", U"c", kYesNoCancel, 640, 480);
    BoxInteraction ui(box, kYesNoCancel);
    EXPECT_EQ(ui.focused(), 0u);
    EXPECT_EQ(ui.key(VK_TAB), 0);
    EXPECT_EQ(ui.focused(), 1u);
    EXPECT_EQ(ui.key(VK_RIGHT), 0);
    EXPECT_EQ(ui.key(VK_RIGHT), 0);
    EXPECT_EQ(ui.focused(), 0u) << "wraps round";
    EXPECT_EQ(ui.key(VK_LEFT), 0);
    EXPECT_EQ(ui.focused(), 2u) << "wraps round backwards";
    EXPECT_EQ(ui.key(VK_RETURN), IDCANCEL);
    EXPECT_EQ(ui.key('Y'), IDYES) << "the letters answer wherever the focus is";
}

TEST(SdlMessageBoxAnswers, AClickIsAPressAndAReleaseOnTheSameButton) {
    const BoxLayout box = layoutBox(kPrompt, U"Keyboard", MB_YESNO, 640, 480);
    const Point yes = centre(box.buttons[0].rect);
    const Point no = centre(box.buttons[1].rect);
    {
        BoxInteraction ui(box, MB_YESNO);
        ui.mouseDown(no);
        EXPECT_EQ(ui.pressed(), 1);
        EXPECT_EQ(ui.focused(), 1u) << "pressing a button focuses it";
        EXPECT_EQ(ui.mouseUp(no), IDNO);
        EXPECT_EQ(ui.pressed(), -1);
    }
    {
        BoxInteraction ui(box, MB_YESNO);
        ui.mouseDown(yes);
        EXPECT_EQ(ui.mouseUp(no), 0) << "released elsewhere: no answer";
        EXPECT_EQ(ui.mouseUp(no), 0) << "a release without a press does nothing";
    }
    {
        BoxInteraction ui(box, MB_YESNO);
        ui.mouseDown(box.lines[0].at);
        EXPECT_EQ(ui.pressed(), -1);
        EXPECT_EQ(ui.mouseUp(yes), 0) << "pressed on the text, released on Yes";
        ui.mouseDown({-1, -1});
        EXPECT_EQ(ui.mouseUp({-1, -1}), 0) << "a click on the bars";
    }
}

TEST(SdlMessageBoxText, Utf8DecodesAndBadBytesBecomeReplacements) {
    EXPECT_EQ(fromUtf8("A\xC3\xA9\xE9\x8D\xB5\xF0\x9F\x98\x80"), U"A\u00E9\u9375\U0001F600");
    EXPECT_EQ(fromUtf8("\xFF" "A"), U"\uFFFDA");
    EXPECT_EQ(fromUtf8("\xC0\x80"), U"\uFFFD\uFFFD") << "overlong";
    EXPECT_EQ(fromUtf8("\xED\xA0\x80"), U"\uFFFD\uFFFD\uFFFD") << "a surrogate";
    EXPECT_EQ(fromUtf8("\xE9\x8D"), U"\uFFFD\uFFFD") << "cut short at the end";
    EXPECT_EQ(fromUtf8("\xE9" "AB"), U"\uFFFDAB") << "cut short by the next character";
    EXPECT_EQ(fromUtf8("\xF4\x90\x80\x80"), U"\uFFFD\uFFFD\uFFFD\uFFFD") << "beyond U+10FFFF";
    EXPECT_EQ(fromUtf8(std::string("a\0b", 3)), std::u32string(U"a\0b", 3));
}

TEST(SdlMessageBoxText, LinesBreakAtBlanksBesideWideCharactersAndInsideOverlongWords) {
    EXPECT_EQ(wrapText(U"one two three", 8 * 8), (std::vector<std::u32string>{U"one two", U"three"}));
    EXPECT_EQ(wrapText(U"first\nsecond", 1000), (std::vector<std::u32string>{U"first", U"second"}));
    EXPECT_EQ(wrapText(U"abcdefghij", 4 * 8), (std::vector<std::u32string>{U"abcd", U"efgh", U"ij"}));
    // Chinese runs without blanks break between any two characters.
    EXPECT_EQ(wrapText(U"確定退出確定", 3 * 16), (std::vector<std::u32string>{U"確定退", U"出確定"}));
    EXPECT_EQ(wrapText(U"ESC 鍵按下", 5 * 8 + 16), (std::vector<std::u32string>{U"ESC 鍵", U"按下"}));
    EXPECT_EQ(wrapText(U"a\tb\x01\x7F\rc", 1000), (std::vector<std::u32string>{U"a bc"})) << "controls dropped";
    EXPECT_EQ(wrapText(U"", 100), (std::vector<std::u32string>{U""}));
    EXPECT_EQ(wrapText(U"wide", 1), (std::vector<std::u32string>{U"w", U"i", U"d", U"e"})) << "one per line at least";
}

TEST(SdlMessageBoxText, NoWrappedLineIsWiderThanAllowed) {
    std::u32string text;
    for (int i = 0; i < 60; ++i) text += (i % 3 == 0) ? U"確定 " : U"word ";
    for (int width : {40, 100, 233, 480}) {
        for (const std::u32string& line : wrapText(text, width)) {
            EXPECT_LE(textWidth(line), width) << width;
            EXPECT_FALSE(!line.empty() && (line.front() == U' ' || line.back() == U' ')) << "blanks trimmed";
        }
    }
}

TEST(SdlMessageBoxLayout, HostileTextIsCutToFitThePicture) {
    const std::u32string huge(100000, U'x');
    const BoxLayout box = layoutBox(huge + U"\n\n\n" + huge, std::u32string(5000, U'C'), MB_OK, 640, 480);
    EXPECT_TRUE(inside(box.outline, {0, 0, 640, 480}));
    ASSERT_FALSE(box.lines.empty());
    EXPECT_EQ(box.lines.back().text.back(), U'\u2026') << "an ellipsis says there is more";
    for (const BoxText& line : box.lines)
        EXPECT_LE(line.at.x + textWidth(line.text), box.outline.x + box.outline.w);
    EXPECT_LE(box.caption.at.x + textWidth(box.caption.text), box.outline.x + box.outline.w);
    EXPECT_EQ(box.caption.text.back(), U'\u2026');
}

TEST(SdlMessageBoxLayout, ATinyPictureStillGetsABoxDrawnWithinItsPixels) {
    for (auto [w, h] : {std::pair{1, 1}, {40, 30}, {200, 60}}) {
        const BoxLayout box = layoutBox(kPrompt, U"Keyboard", kYesNoCancel, w, h);
        Frame image = solid(w, h, 100);
        drawBox(box, 2, 1, image);  // out-of-picture parts are clipped (ASan watches)
        EXPECT_EQ(image.pixels.size(), size_t(w) * size_t(h));
    }
}

TEST(SdlMessageBoxDrawing, ThePictureIsDimmedAndTheBoxDrawnOverIt) {
    Frame image = solid(640, 480, 200);
    dim(image);
    EXPECT_EQ(pixel(image, 0, 0)[0], 100);
    EXPECT_EQ(pixel(image, 639, 479)[2], 100);

    const BoxLayout box = layoutBox(kPrompt, U"Keyboard", MB_YESNO, 640, 480);
    drawBox(box, box.defaultButton, -1, image);
    EXPECT_EQ(pixel(image, 5, 5)[1], 100) << "outside the box the dimmed picture stays";
    const Point shadow{box.outline.x + box.outline.w + 1, box.outline.y + box.outline.h / 2};
    EXPECT_EQ(pixel(image, shadow.x, shadow.y)[0], 50) << "the shadow darkens further";

    // The title bar carries white caption pixels on its own colour.
    int white = 0;
    for (int y = box.titleBar.y; y < box.titleBar.y + box.titleBar.h; ++y)
        for (int x = box.titleBar.x; x < box.titleBar.x + box.titleBar.w; ++x)
            if (pixel(image, x, y)[0] == 255 && pixel(image, x, y)[2] == 255) ++white;
    EXPECT_GT(white, 100) << "\"Keyboard\" drawn";

    // The text's row has black glyph pixels, Chinese ones included.
    const BoxText& line = box.lines[0];
    int blackInChinese = 0;
    const int chineseStart = line.at.x + 4 * 8;  // after "ESC "
    for (int y = line.at.y; y < line.at.y + 16; ++y)
        for (int x = chineseStart; x < chineseStart + 8 * 16; ++x)
            if (pixel(image, x, y)[0] == 0) ++blackInChinese;
    EXPECT_GT(blackInChinese, 200);
}
