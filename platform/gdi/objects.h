// GDI objects: pens, brushes and fonts behind their handles, the stock objects,
// and what a device context's selected (or default) objects are.
#pragma once

#include <windows.h>

#include "core/dc.h"
#include "core/glyphs.h"

namespace qmp::gdi {

struct Pen {
    int style = PS_SOLID;  // PS_SOLID or PS_NULL
    int width = 1;         // 0 and 1 both draw one-pixel lines
    COLORREF colour = 0;
};

struct Brush {
    bool hollow = false;  // NULL_BRUSH
    COLORREF colour = 0xFFFFFF;
};

struct Font {
    fonts::Face face = fonts::Face::Default;
    int scaleX = 1;  // bitmap faces grow by whole multiples
    int scaleY = 1;
    bool bold = false;
    bool underline = false;
    bool strikeOut = false;
};

// The objects a context draws with: the selected ones, or the defaults of a
// new context (black one-pixel pen, white brush, the default font).
const Pen& penOf(const DeviceContext& dc);
const Brush& brushOf(const DeviceContext& dc);
const Font& fontOf(const DeviceContext& dc);

}  // namespace qmp::gdi
