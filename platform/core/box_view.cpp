#include "core/box_view.h"

#include <windows.h>

#include <algorithm>
#include <iterator>

#include "core/glyphs.h"
#include "user/input.h"

namespace qmp {
namespace {

using fonts::Face;

// Windows' classic message box, in pixels of the picture: a raised frame
// three pixels wide, the caption bar inside it, icon-less text, and the
// buttons centred below it, 75 pixels wide at least, 6 apart.
constexpr int kMargin = 8;  // least room between the box and the picture's edges
constexpr int kFrame = 3;
constexpr int kPadding = 12;
constexpr int kTitleHeight = 20;
constexpr int kLineHeight = 18;
constexpr int kButtonHeight = 26;
constexpr int kButtonMinWidth = 75;
constexpr int kButtonGap = 6;
constexpr int kMinBoxWidth = 240;
constexpr int kMaxTextWidth = 480;
constexpr int kCloseWidth = 16;
constexpr int kCloseHeight = 14;
constexpr char32_t kEllipsis = U'\u2026';
constexpr unsigned kYesNoCancel = 3;  // MB_YESNOCANCEL
constexpr unsigned kDefaultButtonMask = 0x00000F00;

struct Rgb {
    uint8_t r, g, b;
};
// The classic scheme's colours.
constexpr Rgb kFace{212, 208, 200};
constexpr Rgb kLight{255, 255, 255};
constexpr Rgb kShade{128, 128, 128};
constexpr Rgb kDarkShade{64, 64, 64};
constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kTitle{10, 36, 106};          // the active caption, left
constexpr Rgb kTitleGradient{166, 202, 240};  // and right

// The buttons' labels as Windows words them in a code page's language; '&'
// marks the letter that answers (underlined).
struct Labels {
    unsigned codePage;
    const char32_t* ok;
    const char32_t* cancel;
    const char32_t* yes;
    const char32_t* no;
};
constexpr Labels kLabels[] = {
    {950, U"確定", U"取消", U"是(&Y)", U"否(&N)"},
    {0, U"OK", U"Cancel", U"&Yes", U"&No"},  // any other code page
};

const Labels& labelsFor(unsigned codePage) {
    for (const Labels& labels : kLabels)
        if (labels.codePage == codePage) return labels;
    return kLabels[std::size(kLabels) - 1];
}

BoxButton button(int answer, std::u32string_view marked) {
    BoxButton b;
    b.answer = answer;
    for (char32_t c : marked) {
        if (c == U'&') {
            b.mnemonic = b.label.size();
            continue;
        }
        b.label += c;
    }
    return b;
}

std::vector<BoxButton> buttonsOf(unsigned type, unsigned codePage) {
    const Labels& l = labelsFor(codePage);
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL: return {button(IDOK, l.ok), button(IDCANCEL, l.cancel)};
    case kYesNoCancel: return {button(IDYES, l.yes), button(IDNO, l.no), button(IDCANCEL, l.cancel)};
    case MB_YESNO: return {button(IDYES, l.yes), button(IDNO, l.no)};
    default: return {button(IDOK, l.ok)};
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

Rect inset(const Rect& r, int by) { return {r.x + by, r.y + by, r.w - 2 * by, r.h - 2 * by}; }

// An edge one pixel wide: `topLeft` along the top and left, `bottomRight` along the others.
void edges(Frame& frame, const Rect& r, Rgb topLeft, Rgb bottomRight) {
    fill(frame, {r.x, r.y, r.w, 1}, topLeft);
    fill(frame, {r.x, r.y, 1, r.h}, topLeft);
    fill(frame, {r.x, r.y + r.h - 1, r.w, 1}, bottomRight);
    fill(frame, {r.x + r.w - 1, r.y, 1, r.h}, bottomRight);
}

// The caption bar's colour running from `left` to `right`.
void gradient(Frame& frame, const Rect& r, Rgb left, Rgb right) {
    for (int i = 0; i < r.w; ++i) {
        auto at = [&](uint8_t a, uint8_t b) { return uint8_t(a + (int(b) - int(a)) * i / std::max(r.w - 1, 1)); };
        fill(frame, {r.x + i, r.y, 1, r.h}, {at(left.r, right.r), at(left.g, right.g), at(left.b, right.b)});
    }
}

// Every other pixel of the rectangle's outline: the focus rectangle.
void dotted(Frame& frame, const Rect& r) {
    for (int x = r.x; x < r.x + r.w; x += 2) {
        fill(frame, {x, r.y, 1, 1}, kBlack);
        fill(frame, {x, r.y + r.h - 1, 1, 1}, kBlack);
    }
    for (int y = r.y; y < r.y + r.h; y += 2) {
        fill(frame, {r.x, y, 1, 1}, kBlack);
        fill(frame, {r.x + r.w - 1, y, 1, 1}, kBlack);
    }
}

// The caption bar's close button, its cross grey where the box has no Cancel.
void closeButton(Frame& frame, const Rect& r, bool enabled) {
    fill(frame, r, kFace);
    edges(frame, r, kLight, kDarkShade);
    edges(frame, inset(r, 1), kFace, kShade);
    const int size = 6;
    const int x0 = r.x + (r.w - size) / 2;
    const int y0 = r.y + (r.h - size) / 2;
    for (int i = 0; i < size; ++i)
        for (int thick = 0; thick < 2; ++thick) {
            if (!enabled) {
                fill(frame, {x0 + i + thick + 1, y0 + i + 1, 1, 1}, kLight);  // the engraved look of a disabled glyph
                fill(frame, {x0 + size - 1 - i + thick + 1, y0 + i + 1, 1, 1}, kLight);
            }
            const Rgb ink = enabled ? kBlack : kShade;
            fill(frame, {x0 + i + thick, y0 + i, 1, 1}, ink);
            fill(frame, {x0 + size - 1 - i + thick, y0 + i, 1, 1}, ink);
        }
}

void outline(Frame& frame, const Rect& r, Rgb colour) {
    fill(frame, {r.x, r.y, r.w, 1}, colour);
    fill(frame, {r.x, r.y + r.h - 1, r.w, 1}, colour);
    fill(frame, {r.x, r.y, 1, r.h}, colour);
    fill(frame, {r.x + r.w - 1, r.y, 1, r.h}, colour);
}

void drawLine(Frame& frame, const BoxText& line, Rgb colour) {
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

BoxLayout layoutBox(const std::u32string& message, const std::u32string& caption, unsigned type, int frameW, int frameH,
                    unsigned codePage) {
    BoxLayout layout;
    layout.buttons = buttonsOf(type, codePage);
    layout.closeEnabled = input::boxOffers(type, IDCANCEL) || (type & MB_TYPEMASK) == MB_OK;
    const size_t defaultIndex = (type & kDefaultButtonMask) >> 8;
    layout.defaultButton = defaultIndex < layout.buttons.size() ? defaultIndex : 0;

    const int room = std::max(frameW - 2 * kMargin, 1);
    const int textRoom = std::max(std::min(room - 2 * kPadding, kMaxTextWidth), 1);
    std::vector<std::u32string> lines = wrapText(message, textRoom);

    // As many lines as the picture's height leaves room for; the last shown one ends in an ellipsis.
    const int fixedHeight = 2 * kFrame + kTitleHeight + 3 * kPadding + kButtonHeight;
    const size_t maxLines = size_t(std::max((frameH - 2 * kMargin - fixedHeight) / kLineHeight, 1));
    if (lines.size() > maxLines) {
        lines.resize(maxLines);
        lines.back() = fitted(lines.back() + kEllipsis, textRoom);
    }

    int buttonWidth = kButtonMinWidth;
    for (const BoxButton& button : layout.buttons) buttonWidth = std::max(buttonWidth, width(button.label) + 16);
    const int buttonCount = static_cast<int>(layout.buttons.size());
    const int buttonsWidth = buttonCount * buttonWidth + (buttonCount - 1) * kButtonGap;

    int textWidth = 0;
    for (const std::u32string& line : lines) textWidth = std::max(textWidth, width(line));
    const std::u32string& title = caption;
    int inner = std::max({textWidth, buttonsWidth, std::min(width(title) + kCloseWidth + 8, kMaxTextWidth)});
    const int boxW = std::min(std::max(inner + 2 * kPadding, kMinBoxWidth), room);
    const int boxH = fixedHeight + static_cast<int>(lines.size()) * kLineHeight;
    layout.outline = {(frameW - boxW) / 2, (frameH - boxH) / 2, boxW, boxH};

    const Rect& box = layout.outline;
    const int faceHeight = fonts::metrics(Face::Default).height;
    layout.titleBar = {box.x + kFrame, box.y + kFrame, box.w - 2 * kFrame, kTitleHeight};
    const Rect& bar = layout.titleBar;
    layout.closeButton = {bar.x + bar.w - 2 - kCloseWidth, bar.y + (bar.h - kCloseHeight) / 2, kCloseWidth, kCloseHeight};
    layout.caption = {{bar.x + 3, bar.y + (bar.h - faceHeight) / 2},
                      fitted(wrapText(title, 1 << 30).front(), std::max(layout.closeButton.x - bar.x - 6, 1))};

    int y = bar.y + bar.h + kPadding;
    for (std::u32string& line : lines) {
        layout.lines.push_back({{box.x + kPadding, y + (kLineHeight - faceHeight) / 2}, std::move(line)});
        y += kLineHeight;
    }
    int x = box.x + (box.w - buttonsWidth) / 2;
    const int buttonY = box.y + box.h - kFrame - kPadding - kButtonHeight;
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
    fill(image, box, kFace);
    // The raised frame: light outside and in at the top and left, shades at the bottom and right.
    edges(image, box, kFace, kDarkShade);
    edges(image, inset(box, 1), kLight, kShade);
    gradient(image, layout.titleBar, kTitle, kTitleGradient);
    BoxText bold = layout.caption;  // the caption's bold face: the glyphs twice, a pixel apart
    drawLine(image, bold, kLight);
    ++bold.at.x;
    drawLine(image, bold, kLight);
    closeButton(image, layout.closeButton, layout.closeEnabled);
    for (const BoxText& line : layout.lines) drawLine(image, line, kBlack);

    const int faceHeight = fonts::metrics(Face::Default).height;
    const int ascent = fonts::metrics(Face::Default).ascent;
    for (size_t i = 0; i < layout.buttons.size(); ++i) {
        const BoxButton& button = layout.buttons[i];
        const bool down = pressed == static_cast<int>(i);
        Rect r = button.rect;
        if (i == focused) {
            outline(image, r, kBlack);  // the button Enter presses
            r = inset(r, 1);
        }
        if (down) {
            outline(image, r, kShade);
        } else {
            edges(image, r, kLight, kDarkShade);
            edges(image, inset(r, 1), kFace, kShade);
        }
        const int shift = down ? 1 : 0;
        BoxText label{{button.rect.x + (button.rect.w - width(button.label)) / 2 + shift,
                       button.rect.y + (button.rect.h - faceHeight) / 2 + shift},
                      button.label};
        drawLine(image, label, kBlack);
        if (button.mnemonic < button.label.size()) {  // the letter that answers: Y, N
            const int before = width(std::u32string_view(button.label).substr(0, button.mnemonic));
            const int letter = advance(button.label[button.mnemonic]);
            fill(image, {label.at.x + before, label.at.y + ascent + 1, letter, 1}, kBlack);
        }
        if (i == focused) dotted(image, inset(button.rect, 3));  // the keyboard focus
    }
}

}  // namespace qmp
