#include "core/box_view.h"

#include <windows.h>

#include <algorithm>

#include "core/glyphs.h"
#include "user/input.h"

namespace qmp {
namespace {

using fonts::Face;

constexpr int kMargin = 8;        // least room between the box and the picture's edges
constexpr int kPadding = 12;
constexpr int kTitleHeight = 22;
constexpr int kLineHeight = 18;
constexpr int kButtonHeight = 24;
constexpr int kButtonMinWidth = 72;
constexpr int kButtonGap = 10;
constexpr int kMinBoxWidth = 240;
constexpr int kMaxTextWidth = 480;
constexpr int kShadow = 4;
constexpr char32_t kEllipsis = U'\u2026';
constexpr unsigned kYesNoCancel = 3;  // MB_YESNOCANCEL
constexpr unsigned kDefaultButtonMask = 0x00000F00;

struct Rgb {
    uint8_t r, g, b;
};
constexpr Rgb kFace{212, 208, 200};
constexpr Rgb kLight{255, 255, 255};
constexpr Rgb kDark{128, 128, 128};
constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kTitle{10, 36, 106};

std::vector<BoxButton> buttonsOf(unsigned type) {
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL: return {{IDOK, U"OK", {}}, {IDCANCEL, U"Cancel", {}}};
    case kYesNoCancel: return {{IDYES, U"Yes", {}}, {IDNO, U"No", {}}, {IDCANCEL, U"Cancel", {}}};
    case MB_YESNO: return {{IDYES, U"Yes", {}}, {IDNO, U"No", {}}};
    default: return {{IDOK, U"OK", {}}};
    }
}

int width(std::u32string_view text) { return fonts::textWidth(Face::Default, text); }
bool isWide(char32_t c) { return fonts::glyph(Face::Default, c).advance > fonts::metrics(Face::Default).narrowAdvance; }
bool isBlank(char32_t c) { return c == U' '; }

int advance(char32_t c) { return fonts::glyph(Face::Default, c).advance; }

// The text cut to `maxWidth` with an ellipsis when it is wider.
std::u32string fitted(const std::u32string& text, int maxWidth) {
    if (width(text) <= maxWidth) return text;
    const int room = maxWidth - advance(kEllipsis);
    int used = 0;
    size_t kept = 0;
    while (kept < text.size() && used + advance(text[kept]) <= room) used += advance(text[kept++]);
    return text.substr(0, kept) + kEllipsis;
}

void trimBack(std::u32string& text) {
    while (!text.empty() && isBlank(text.back())) text.pop_back();
}

void wrapParagraph(const std::u32string& paragraph, int maxWidth, std::vector<std::u32string>* lines) {
    std::u32string line;
    int lineWidth = 0;
    size_t breakAt = std::u32string::npos;  // where the line may end: after a blank, beside a wide character
    bool wrapped = false;
    for (char32_t c : paragraph) {
        if (wrapped && line.empty() && isBlank(c)) continue;  // no blank opens a wrapped line
        if (!line.empty() && (isBlank(line.back()) || isWide(c) || isWide(line.back()))) breakAt = line.size();
        const int cWidth = advance(c);
        if (!isBlank(c) && !line.empty() && lineWidth + cWidth > maxWidth) {
            std::u32string rest;
            if (breakAt != std::u32string::npos && breakAt > 0) {
                rest = line.substr(breakAt);
                line.erase(breakAt);
            }
            trimBack(line);
            lines->push_back(line);
            while (!rest.empty() && isBlank(rest.front())) rest.erase(0, 1);
            line = rest;
            lineWidth = width(line);
            if (!line.empty() && lineWidth + cWidth > maxWidth) {  // the word's start and c do not fit together
                lines->push_back(line);
                line.clear();
                lineWidth = 0;
            }
            breakAt = std::u32string::npos;
            wrapped = true;
        }
        line += c;
        lineWidth += cWidth;
    }
    trimBack(line);
    lines->push_back(line);
}

void fill(Frame& frame, const Rect& rect, Rgb colour) {
    const int x0 = std::max(rect.x, 0);
    const int y0 = std::max(rect.y, 0);
    const int x1 = std::min(rect.x + rect.w, frame.width);
    const int y1 = std::min(rect.y + rect.h, frame.height);
    const uint32_t pixel = frame.format.pack(colour.r, colour.g, colour.b);
    for (int y = y0; y < y1; ++y) std::fill(frame.row(y) + x0, frame.row(y) + std::max(x0, x1), pixel);
}

// A raised (or, pressed, sunken) edge one pixel wide around the rectangle.
void bevel(Frame& frame, const Rect& r, bool sunken) {
    const Rgb topLeft = sunken ? kDark : kLight;
    const Rgb bottomRight = sunken ? kLight : kDark;
    fill(frame, {r.x, r.y, r.w, 1}, topLeft);
    fill(frame, {r.x, r.y, 1, r.h}, topLeft);
    fill(frame, {r.x, r.y + r.h - 1, r.w, 1}, bottomRight);
    fill(frame, {r.x + r.w - 1, r.y, 1, r.h}, bottomRight);
}

void outline(Frame& frame, const Rect& r, Rgb colour) {
    fill(frame, {r.x, r.y, r.w, 1}, colour);
    fill(frame, {r.x, r.y + r.h - 1, r.w, 1}, colour);
    fill(frame, {r.x, r.y, 1, r.h}, colour);
    fill(frame, {r.x + r.w - 1, r.y, 1, r.h}, colour);
}

void text(Frame& frame, const BoxText& line, Rgb colour) {
    fonts::drawText(Face::Default, line.text, frame.pixels.data(), frame.width, frame.height, frame.width, line.at.x,
                    line.at.y, frame.format.pack(colour.r, colour.g, colour.b));
}

void darken(Frame& frame, const Rect& rect) {
    const int x0 = std::max(rect.x, 0);
    const int y0 = std::max(rect.y, 0);
    const int x1 = std::min(rect.x + rect.w, frame.width);
    const int y1 = std::min(rect.y + rect.h, frame.height);
    const PixelFormat& f = frame.format;
    for (int y = y0; y < y1; ++y) {
        uint32_t* row = frame.row(y);
        for (int x = x0; x < x1; ++x)
            row[x] = f.pack(uint8_t(f.red(row[x]) / 2), uint8_t(f.green(row[x]) / 2), uint8_t(f.blue(row[x]) / 2));
    }
}

}  // namespace

std::vector<std::u32string> wrapText(const std::u32string& text, int maxWidth) {
    std::vector<std::u32string> lines;
    std::u32string paragraph;
    for (char32_t c : text) {
        if (c == U'\n') {
            wrapParagraph(paragraph, maxWidth, &lines);
            paragraph.clear();
        } else if (c == U'\t') {
            paragraph += U' ';
        } else if (c >= 0x20 && c != 0x7F && !(c >= 0x80 && c < 0xA0)) {
            paragraph += c;
        }
    }
    wrapParagraph(paragraph, maxWidth, &lines);
    return lines;
}

BoxLayout layoutBox(const std::u32string& message, const std::u32string& caption, unsigned type, int frameW, int frameH) {
    BoxLayout layout;
    layout.buttons = buttonsOf(type);
    const size_t defaultIndex = (type & kDefaultButtonMask) >> 8;
    layout.defaultButton = defaultIndex < layout.buttons.size() ? defaultIndex : 0;

    const int room = std::max(frameW - 2 * kMargin, 1);
    const int textRoom = std::max(std::min(room - 2 * kPadding, kMaxTextWidth), 1);
    std::vector<std::u32string> lines = wrapText(message, textRoom);

    // As many lines as the picture's height leaves room for; the last shown one ends in an ellipsis.
    const int fixedHeight = kTitleHeight + 3 * kPadding + kButtonHeight;
    const size_t maxLines = size_t(std::max((frameH - 2 * kMargin - fixedHeight) / kLineHeight, 1));
    if (lines.size() > maxLines) {
        lines.resize(maxLines);
        lines.back() = fitted(lines.back() + kEllipsis, textRoom);
    }

    int buttonWidth = kButtonMinWidth;
    for (const BoxButton& button : layout.buttons) buttonWidth = std::max(buttonWidth, width(button.label) + 24);
    const int buttonCount = static_cast<int>(layout.buttons.size());
    const int buttonsWidth = buttonCount * buttonWidth + (buttonCount - 1) * kButtonGap;

    int textWidth = 0;
    for (const std::u32string& line : lines) textWidth = std::max(textWidth, width(line));
    const std::u32string& title = caption;
    int inner = std::max({textWidth, buttonsWidth, std::min(width(title), kMaxTextWidth)});
    const int boxW = std::min(std::max(inner + 2 * kPadding, kMinBoxWidth), room);
    const int boxH = fixedHeight + static_cast<int>(lines.size()) * kLineHeight;
    layout.outline = {(frameW - boxW) / 2, (frameH - boxH) / 2, boxW, boxH};

    const Rect& box = layout.outline;
    const int faceHeight = fonts::metrics(Face::Default).height;
    layout.titleBar = {box.x + 2, box.y + 2, box.w - 4, kTitleHeight - 2};
    layout.caption = {{box.x + 8, box.y + 2 + (kTitleHeight - 2 - faceHeight) / 2},
                      fitted(wrapText(title, 1 << 30).front(), std::max(box.w - 16, 1))};

    int y = box.y + kTitleHeight + kPadding;
    for (std::u32string& line : lines) {
        layout.lines.push_back({{box.x + kPadding, y + (kLineHeight - faceHeight) / 2}, std::move(line)});
        y += kLineHeight;
    }
    int x = box.x + (box.w - buttonsWidth) / 2;
    const int buttonY = box.y + box.h - kPadding - kButtonHeight;
    for (BoxButton& button : layout.buttons) {
        button.rect = {x, buttonY, buttonWidth, kButtonHeight};
        x += buttonWidth + kButtonGap;
    }
    return layout;
}

int buttonAt(const BoxLayout& layout, Point point) {
    for (size_t i = 0; i < layout.buttons.size(); ++i)
        if (layout.buttons[i].rect.contains(point.x, point.y)) return static_cast<int>(i);
    return -1;
}

BoxInteraction::BoxInteraction(const BoxLayout& layout, unsigned type)
    : layout_(layout), type_(type), focused_(layout.defaultButton) {}

int BoxInteraction::key(int virtualKey) {
    const size_t count = layout_.buttons.size();
    switch (virtualKey) {
    case VK_RETURN:
    case VK_SPACE: return layout_.buttons[focused_].answer;
    case VK_TAB:
    case VK_RIGHT: focused_ = (focused_ + 1) % count; return 0;
    case VK_LEFT: focused_ = (focused_ + count - 1) % count; return 0;
    default: return input::boxKeyAnswer(type_, virtualKey);
    }
}

void BoxInteraction::mouseDown(Point point) {
    pressed_ = buttonAt(layout_, point);
    if (pressed_ >= 0) focused_ = static_cast<size_t>(pressed_);
}

int BoxInteraction::mouseUp(Point point) {
    const int down = pressed_;
    pressed_ = -1;
    if (down < 0 || buttonAt(layout_, point) != down) return 0;
    return layout_.buttons[static_cast<size_t>(down)].answer;
}

void dim(Frame& frame) { darken(frame, {0, 0, frame.width, frame.height}); }

void drawBox(const BoxLayout& layout, size_t focused, int pressed, Frame& image) {
    const Rect& box = layout.outline;
    darken(image, {box.x + kShadow, box.y + box.h, box.w, kShadow});
    darken(image, {box.x + box.w, box.y + kShadow, kShadow, box.h - kShadow});
    fill(image, box, kFace);
    outline(image, box, kBlack);
    bevel(image, {box.x + 1, box.y + 1, box.w - 2, box.h - 2}, false);
    fill(image, layout.titleBar, kTitle);
    text(image, layout.caption, kLight);
    for (const BoxText& line : layout.lines) text(image, line, kBlack);

    const int faceHeight = fonts::metrics(Face::Default).height;
    const int ascent = fonts::metrics(Face::Default).ascent;
    for (size_t i = 0; i < layout.buttons.size(); ++i) {
        const BoxButton& button = layout.buttons[i];
        const bool down = pressed == static_cast<int>(i);
        Rect r = button.rect;
        if (i == focused) {
            outline(image, r, kBlack);  // the button Enter presses
            r = {r.x + 1, r.y + 1, r.w - 2, r.h - 2};
        }
        bevel(image, r, down);
        const int shift = down ? 1 : 0;
        BoxText label{{button.rect.x + (button.rect.w - width(button.label)) / 2 + shift,
                       button.rect.y + (button.rect.h - faceHeight) / 2 + shift},
                      button.label};
        text(image, label, kBlack);
        if (button.answer == IDYES || button.answer == IDNO) {  // the letter that answers: Y, N
            const int letter = width(button.label.substr(0, 1));
            fill(image, {label.at.x, label.at.y + ascent + 1, letter, 1}, kBlack);
        }
    }
}

}  // namespace qmp
