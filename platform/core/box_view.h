// A message box as the platform draws it over the program's picture, on every
// host: its layout (pure, so it can be tested), the keyboard and mouse answers,
// and its drawing into a frame with the default font, which covers the Big5
// prompt's characters.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/frame.h"
#include "core/placement.h"

namespace qmp {

struct BoxButton {
    int answer = 0;  // IDOK, IDYES, ...
    std::u32string label;
    Rect rect;
};

struct BoxText {
    Point at;  // top-left corner of the line's cells
    std::u32string text;
};

struct BoxLayout {
    Rect outline;   // the whole box
    Rect titleBar;
    BoxText caption;
    std::vector<BoxText> lines;
    std::vector<BoxButton> buttons;
    size_t defaultButton = 0;  // MB_DEFBUTTONn, where the keyboard focus starts
};

// Breaks text into lines no wider than `maxWidth` pixels in the default font:
// at newlines, after blanks, beside wide (CJK) characters, and inside a word
// only when it alone is too wide. Control characters other than newline and
// tab (a blank) are dropped.
std::vector<std::u32string> wrapText(const std::u32string& text, int maxWidth);

// The box for a picture of width x height, centred on it. Text that does not
// fit is cut off with an ellipsis. `type` is MB_* flags of a supported kind.
BoxLayout layoutBox(const std::u32string& text, const std::u32string& caption, unsigned type, int width, int height);

// The index of the button at a picture point, -1 when there is none.
int buttonAt(const BoxLayout& layout, Point point);

// Keyboard focus and mouse presses of an open box; each call returns the
// answer it gives, or 0 while the box stays open.
class BoxInteraction {
public:
    BoxInteraction(const BoxLayout& layout, unsigned type);

    // Y, N, Esc as every box takes them; Enter and Space press the focused
    // button; Tab, Left and Right move the focus.
    int key(int virtualKey);
    void mouseDown(Point point);
    // A click is a press and a release on the same button.
    int mouseUp(Point point);

    size_t focused() const { return focused_; }
    int pressed() const { return pressed_; }  // button held down with the mouse, -1 when none

private:
    const BoxLayout& layout_;
    unsigned type_;
    size_t focused_;
    int pressed_ = -1;
};

// Halves every colour: the picture behind an open box.
void dim(Frame& frame);

// Draws the box (shadow, frame, title bar, text, buttons) into the frame.
void drawBox(const BoxLayout& layout, size_t focused, int pressed, Frame& frame);

}  // namespace qmp
