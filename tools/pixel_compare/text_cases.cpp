// Text measures: the faces differ by design (the platform embeds its own), so
// only the extents are compared, and of those only the empty string's must agree.
#include "probe.h"

namespace probe {
namespace {

const char kPrompt[] = "ESC \xC1\xE4\xAB\xF6\xA4\x55\xA4\x46\xA1\x49\xBD\x54\xA9\x77\xB0\x68\xA5\x58\xA1\x48";

// The extent of `text` in the context's default font, or in the demo's
// read-out font (Fixedsys) of the given height.
Outcome extent(Device& d, const char* text, int fixedsysHeight) {
    HDC dc = nullptr;
    HRESULT hr = d.target->GetDC(&dc);
    if (FAILED(hr)) return {"GetDC " + hresultName(hr)};
    HFONT font = nullptr;
    HGDIOBJ old = nullptr;
    if (fixedsysHeight > 0) {
        font = CreateFontA(fixedsysHeight, 0, 0, 0, FW_THIN, 0, 0, 0, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "Fixedsys");
        old = SelectObject(dc, font);
    }
    SIZE size{-1, -1};
    const BOOL ok = GetTextExtentPointA(dc, text, lstrlenA(text), &size);
    if (font != nullptr) {
        SelectObject(dc, old);
        DeleteObject(font);
    }
    d.target->ReleaseDC(dc);
    return {std::string(ok ? "TRUE " : "FALSE ") + std::to_string(size.cx) + " x " + std::to_string(size.cy)};
}

Outcome emptyDefault(Device& d) { return extent(d, "", 0); }
Outcome emptyFixedsys(Device& d) { return extent(d, "", 10); }
Outcome emptyFixedsys16(Device& d) { return extent(d, "", 16); }
Outcome letterDefault(Device& d) { return extent(d, "A", 0); }
Outcome readoutFixedsys(Device& d) { return extent(d, "Vec: 12  Debug: 3", 10); }
Outcome promptDefault(Device& d) { return extent(d, kPrompt, 0); }

}  // namespace

const std::vector<Case>& textCases() {
    static const std::vector<Case> cases = {
        {"extent of \"\", default font", "text", emptyDefault},
        {"extent of \"\", Fixedsys 10", "text", emptyFixedsys},
        {"extent of \"\", Fixedsys 16", "text", emptyFixedsys16},
        {"extent of \"A\", default font", "font", letterDefault},
        {"extent of the read-out, Fixedsys 10", "font", readoutFixedsys},
        {"extent of the quit prompt, default font", "font", promptDefault},
    };
    return cases;
}

}  // namespace probe
