// Device contexts: what IDirectDrawSurface::GetDC lends and GDI draws with.
// DirectDraw opens a context on a surface; GDI (platform/gdi) and AlphaBlend
// (platform/msimg) draw through it. Neither side knows the other's types: a
// surface is only a PixelTarget here.
#pragma once

#include <windows.h>

#include <cstdint>

#include "core/handle_table.h"

namespace qmp {

// An 8-bit palettized pixel store.
class PixelTarget {
public:
    virtual uint8_t* bits() = 0;
    virtual int pitch() const = 0;
    virtual int width() const = 0;
    virtual int height() const = 0;
    // The colours GDI maps COLORREFs against: the surface's own palette, else
    // the primary surface's; never null (all black when there is no palette).
    virtual const PALETTEENTRY* colours() const = 0;
    // Changes whenever colours() may give different entries, so mappings can be cached.
    virtual uint64_t coloursVersion() const = 0;

protected:
    ~PixelTarget() = default;
};

// The state of one device context. Null object handles stand for the defaults
// of a new context: the black one-pixel pen, the white brush, the default font.
struct DeviceContext {
    PixelTarget* target = nullptr;
    HGDIOBJ pen = nullptr;
    HGDIOBJ brush = nullptr;
    HGDIOBJ font = nullptr;
    COLORREF textColour = 0x000000;
    COLORREF backgroundColour = 0xFFFFFF;
    int backgroundMode = OPAQUE;
    int polyFillMode = ALTERNATE;
    POINT position{0, 0};
};

// The open contexts, looked up by every GDI call: the lookup is inline.
using ContextTable = HandleTable<DeviceContext, 10000, 0x1>;  // as many as Windows' default handle quota
extern constinit ContextTable openContexts;

// Null when the table of contexts is full.
HDC openDC(PixelTarget* target);
void closeDC(HDC dc);
// Null for a handle that is not an open context.
inline DeviceContext* contextOf(HDC dc) { return openContexts.find(reinterpret_cast<uintptr_t>(dc)); }
int openDCCount();
// Whether some open context has the object selected.
bool selectedInOpenContext(HGDIOBJ object);

}  // namespace qmp
