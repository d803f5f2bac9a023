// The handle table. Handles are numbers that are never dereferenced and never
// reused, so a stale or hostile handle is only a failed lookup.
#include "gdi/objects.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <unordered_map>
#include <variant>
#include <vector>

#include "core/reset.h"
#include "core/trace.h"
#include "platform/control.h"

namespace qmp::gdi {
namespace {

struct Object {
    std::variant<Pen, Brush, Font> value;
    bool stock = false;
    std::vector<HDC> selectedInto;  // contexts it was selected into; some may have moved on or closed
};

struct ObjectTable {
    std::unordered_map<uintptr_t, Object> objects;
    uintptr_t nextHandle = 0x10000;
};

ObjectTable& table() {
    static ObjectTable t;
    return t;
}

// Stock objects live at fixed handles below the program's.
constexpr uintptr_t kStockBase = 0x100;
constexpr int kStockCount = DEFAULT_GUI_FONT + 1;
uintptr_t stockHandleValue(int index) { return kStockBase + static_cast<uintptr_t>(index) * 0x10; }

bool makeStock(int index, Object& out) {
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

HGDIOBJ stockObject(int index) {
    if (index < 0 || index >= kStockCount) return nullptr;
    ObjectTable& t = table();
    const uintptr_t handle = stockHandleValue(index);
    if (!t.objects.count(handle)) {
        Object o;
        if (!makeStock(index, o)) return nullptr;
        o.stock = true;
        t.objects.emplace(handle, std::move(o));
    }
    return reinterpret_cast<HGDIOBJ>(handle);
}

Object* find(HGDIOBJ handle) {
    auto it = table().objects.find(reinterpret_cast<uintptr_t>(handle));
    return it == table().objects.end() ? nullptr : &it->second;
}

HGDIOBJ add(std::variant<Pen, Brush, Font> value) {
    Object o;
    o.value = std::move(value);
    ObjectTable& t = table();
    const uintptr_t handle = t.nextHandle;
    t.nextHandle += 0x10;
    t.objects.emplace(handle, std::move(o));
    return reinterpret_cast<HGDIOBJ>(handle);
}

// Deletes every object the program made; stock objects stay.
const ResetHook resetObjects([] {
    std::erase_if(table().objects, [](const auto& entry) { return !entry.second.stock; });
});

template <typename T>
const T& selectedOr(HGDIOBJ handle, int stockIndex) {
    if (Object* o = find(handle))
        if (const T* value = std::get_if<T>(&o->value)) return *value;
    return std::get<T>(find(stockObject(stockIndex))->value);
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

// Forgets the contexts that closed or selected something else since.
void forgetStaleSelections(Object& o, HGDIOBJ handle) {
    std::erase_if(o.selectedInto, [&](HDC hdc) {
        qmp::DeviceContext* dc = qmp::contextOf(hdc);
        int stockIndex = 0;
        return dc == nullptr || *slotFor(*dc, o, &stockIndex) != handle;
    });
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
    return static_cast<HPEN>(add(Pen{iStyle, width, color}));
}

HBRUSH WINAPI CreateSolidBrush(COLORREF color) {
    QMP_TRACE_VALUE("CreateSolidBrush", nullptr);
    return static_cast<HBRUSH>(add(Brush{false, color}));
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
    return static_cast<HFONT>(add(font));
}

HGDIOBJ WINAPI GetStockObject(int i) {
    QMP_TRACE_VALUE("GetStockObject", nullptr);
    return stockObject(i);
}

HGDIOBJ WINAPI SelectObject(HDC hdc, HGDIOBJ h) {
    QMP_TRACE_VALUE("SelectObject", nullptr);
    qmp::DeviceContext* dc = qmp::contextOf(hdc);
    Object* o = find(h);
    if (dc == nullptr || o == nullptr) return nullptr;
    int stockIndex = 0;
    HGDIOBJ* slot = slotFor(*dc, *o, &stockIndex);
    HGDIOBJ previous = *slot != nullptr ? *slot : stockObject(stockIndex);
    *slot = h;
    if (!o->stock) {
        forgetStaleSelections(*o, h);
        if (std::find(o->selectedInto.begin(), o->selectedInto.end(), hdc) == o->selectedInto.end())
            o->selectedInto.push_back(hdc);
    }
    return previous;
}

BOOL WINAPI DeleteObject(HGDIOBJ ho) {
    QMP_TRACE_VALUE("DeleteObject", FALSE);
    Object* o = find(ho);
    if (o == nullptr) return FALSE;
    if (o->stock) return TRUE;  // stock objects are never freed
    forgetStaleSelections(*o, ho);
    if (!o->selectedInto.empty()) return FALSE;  // still selected into an open context: it stays
    table().objects.erase(reinterpret_cast<uintptr_t>(ho));
    return TRUE;
}

namespace platform {

int liveGdiObjects() {
    int made = 0;
    for (const auto& entry : table().objects)
        if (!entry.second.stock) ++made;
    return made + qmp::openDCCount();
}

}  // namespace platform
