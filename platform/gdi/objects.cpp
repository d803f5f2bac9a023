// The handle table. Handles are numbers that are never dereferenced; a freed
// handle's slot is used again under a new generation, so a stale or hostile
// handle is only a failed lookup.
#include "gdi/objects.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstring>
#include <variant>

#include "core/handle_table.h"
#include "core/reset.h"
#include "core/trace.h"
#include "platform/control.h"

namespace qmp::gdi {
namespace {

struct Object {
    std::variant<Pen, Brush, Font> value;
};

constexpr uintptr_t kObjectKind = 0x2;

constexpr size_t kMaxObjects = 10000;  // as Windows' default quota of GDI handles per process

using Table = HandleTable<Object, kMaxObjects, kObjectKind>;
constinit Table objects{};
Table& table() { return objects; }

// Stock objects live at fixed handles below the program's, outside the table.
constexpr uintptr_t kStockBase = 0x100;
constexpr int kStockCount = DEFAULT_GUI_FONT + 1;
constexpr uintptr_t kStockStride = 0x10;
uintptr_t stockHandleValue(int index) { return kStockBase + static_cast<uintptr_t>(index) * kStockStride; }

constexpr bool makeStock(int index, Object& out) {
    auto brush = [](COLORREF c) { return Brush{false, c}; };
    switch (index) {
        case WHITE_BRUSH: out.value = brush(0xFFFFFF); return true;
        case LTGRAY_BRUSH: out.value = brush(0xC0C0C0); return true;
        case GRAY_BRUSH: out.value = brush(0x808080); return true;
        case DKGRAY_BRUSH: out.value = brush(0x404040); return true;
        case BLACK_BRUSH: out.value = brush(0x000000); return true;
        case NULL_BRUSH: out.value = Brush{true, 0}; return true;
        case WHITE_PEN: out.value = Pen{PS_SOLID, 1, 0xFFFFFF}; return true;
        case BLACK_PEN: out.value = Pen{PS_SOLID, 1, 0x000000}; return true;
        case NULL_PEN: out.value = Pen{PS_NULL, 1, 0}; return true;
        case OEM_FIXED_FONT:
        case ANSI_FIXED_FONT:
        case SYSTEM_FIXED_FONT: out.value = Font{fonts::Face::Fixed}; return true;
        case ANSI_VAR_FONT:
        case SYSTEM_FONT:
        case DEVICE_DEFAULT_FONT:
        case DEFAULT_GUI_FONT: out.value = Font{fonts::Face::Default}; return true;
        default: return false;
    }
}

struct StockObjects {
    std::array<Object, kStockCount> objects;
    std::array<bool, kStockCount> exists{};
    StockObjects() {
        for (int i = 0; i < kStockCount; ++i) exists[i] = makeStock(i, objects[i]);
    }
};

// Made on first use, so that another global's constructor may already ask.
const StockObjects& stock() {
    static const StockObjects stockObjects;
    return stockObjects;
}

// The index of the stock object behind a handle, or -1.
int stockIndexOf(HGDIOBJ handle) {
    const uintptr_t value = reinterpret_cast<uintptr_t>(handle);
    if (value < kStockBase || (value - kStockBase) % kStockStride != 0) return -1;
    const uintptr_t index = (value - kStockBase) / kStockStride;
    return index < kStockCount && stock().exists[index] ? static_cast<int>(index) : -1;
}

HGDIOBJ stockObject(int index) {
    if (index < 0 || index >= kStockCount || !stock().exists[index]) return nullptr;
    return reinterpret_cast<HGDIOBJ>(stockHandleValue(index));
}

const Object* find(HGDIOBJ handle) {
    if (const Object* made = table().find(reinterpret_cast<uintptr_t>(handle))) return made;
    const int index = stockIndexOf(handle);
    return index < 0 ? nullptr : &stock().objects[index];
}

HGDIOBJ add(const Object& o) { return reinterpret_cast<HGDIOBJ>(table().add(o)); }

// Deletes every object the program made; stock objects stay.
const ResetHook resetObjects([] { table().clear(); });

template <typename T>
const T& selectedOr(HGDIOBJ handle, int stockIndex) {
    if (const Object* o = find(handle))
        if (const T* value = std::get_if<T>(&o->value)) return *value;
    return std::get<T>(stock().objects[stockIndex].value);
}

// The slot of a context that holds objects of the kind of `o`, and its default.
HGDIOBJ* slotFor(DeviceContext& dc, const Object& o, int* stockIndex) {
    if (std::holds_alternative<Pen>(o.value)) {
        *stockIndex = BLACK_PEN;
        return &dc.pen;
    }
    if (std::holds_alternative<Brush>(o.value)) {
        *stockIndex = WHITE_BRUSH;
        return &dc.brush;
    }
    *stockIndex = SYSTEM_FONT;
    return &dc.font;
}

// A whole-multiple scale for a bitmap face asked for `size` pixels against its own `natural`.
int scaleFor(int size, int natural) {
    const int64_t magnitude = size < 0 ? -int64_t(size) : int64_t(size);
    return static_cast<int>(std::clamp<int64_t>(magnitude / natural, 1, 8));
}

bool sameFaceName(const char* face, const char* name) {
    const size_t length = strnlen(face, LF_FACESIZE);
    if (length != std::strlen(name)) return false;
    for (size_t i = 0; i < length; ++i)
        if (std::tolower(static_cast<unsigned char>(face[i])) != name[i]) return false;
    return true;
}

}  // namespace

const Pen& penOf(const DeviceContext& dc) { return selectedOr<Pen>(dc.pen, BLACK_PEN); }
const Brush& brushOf(const DeviceContext& dc) { return selectedOr<Brush>(dc.brush, WHITE_BRUSH); }
const Font& fontOf(const DeviceContext& dc) { return selectedOr<Font>(dc.font, SYSTEM_FONT); }

}  // namespace qmp::gdi

using namespace qmp::gdi;

HPEN WINAPI CreatePen(int iStyle, int cWidth, COLORREF color) {
    QMP_TRACE_VALUE("CreatePen", nullptr);
    if (iStyle != PS_SOLID && iStyle != PS_NULL) return nullptr;  // dashed and inside-frame pens are not drawn
    const int width = cWidth < 0 ? (cWidth == INT32_MIN ? INT32_MAX : -cWidth) : cWidth;
    return static_cast<HPEN>(add(Object{Pen{iStyle, width, color}}));
}

HBRUSH WINAPI CreateSolidBrush(COLORREF color) {
    QMP_TRACE_VALUE("CreateSolidBrush", nullptr);
    return static_cast<HBRUSH>(add(Object{Brush{false, color}}));
}

HFONT WINAPI CreateFontA(int cHeight, int cWidth, int /*cEscapement*/, int /*cOrientation*/, int cWeight,
                         DWORD /*bItalic*/, DWORD bUnderline, DWORD bStrikeOut, DWORD /*iCharSet*/,
                         DWORD /*iOutPrecision*/, DWORD /*iClipPrecision*/, DWORD /*iQuality*/,
                         DWORD /*iPitchAndFamily*/, LPCSTR pszFaceName) {
    QMP_TRACE_VALUE("CreateFontA", nullptr);
    // Two bitmap faces serve every request: "Fixedsys" and, for any other name,
    // the default font. Text runs left to right and upright whatever the
    // escapement, orientation or italic flag ask for.
    Font font;
    font.face = (pszFaceName != nullptr && sameFaceName(pszFaceName, "fixedsys")) ? qmp::fonts::Face::Fixed
                                                                                   : qmp::fonts::Face::Default;
    const qmp::fonts::Metrics metrics = qmp::fonts::metrics(font.face);
    font.scaleY = cHeight == 0 ? 1 : scaleFor(cHeight, metrics.height);
    font.scaleX = cWidth == 0 ? font.scaleY : scaleFor(cWidth, metrics.narrowAdvance);
    font.bold = cWeight >= 600;
    font.underline = bUnderline != 0;
    font.strikeOut = bStrikeOut != 0;
    return static_cast<HFONT>(add(Object{font}));
}

HGDIOBJ WINAPI GetStockObject(int i) {
    QMP_TRACE_VALUE("GetStockObject", nullptr);
    return stockObject(i);
}

HGDIOBJ WINAPI SelectObject(HDC hdc, HGDIOBJ h) {
    QMP_TRACE_VALUE("SelectObject", nullptr);
    qmp::DeviceContext* dc = qmp::contextOf(hdc);
    const Object* o = find(h);
    if (dc == nullptr || o == nullptr) return nullptr;
    int stockIndex = 0;
    HGDIOBJ* slot = slotFor(*dc, *o, &stockIndex);
    HGDIOBJ previous = *slot != nullptr ? *slot : stockObject(stockIndex);
    *slot = h;
    return previous;
}

BOOL WINAPI DeleteObject(HGDIOBJ ho) {
    QMP_TRACE_VALUE("DeleteObject", FALSE);
    if (stockIndexOf(ho) >= 0) return TRUE;  // stock objects are never freed
    if (table().find(reinterpret_cast<uintptr_t>(ho)) == nullptr) return FALSE;
    if (qmp::selectedInOpenContext(ho)) return FALSE;  // still selected into an open context: it stays
    table().remove(reinterpret_cast<uintptr_t>(ho));
    return TRUE;
}

namespace platform {

int liveGdiObjects() { return static_cast<int>(table().size()) + qmp::openDCCount(); }

}  // namespace platform
