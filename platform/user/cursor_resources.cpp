// USER32 of windows.h: the mouse cursor's display count, icon and cursor
// resources, and PtInRect.
#include <windows.h>

#include <map>
#include <tuple>

#include "core/backend.h"
#include "core/trace.h"
#include "kernel/last_error.h"
#include "user/user_state.h"

namespace {

bool isResourceId(LPCSTR name) { return name != nullptr && reinterpret_cast<uintptr_t>(name) <= 0xFFFF; }

// One handle per (kind, owner, id), stable for the process as LoadIcon's are.
// There is no image behind them: nothing here draws an icon or a cursor.
HANDLE resourceHandle(char kind, HINSTANCE owner, uintptr_t id) {
    static std::map<std::tuple<char, HINSTANCE, uintptr_t>, HANDLE> handles;
    static uintptr_t next = 0x20000;
    auto key = std::make_tuple(kind, owner, id);
    auto it = handles.find(key);
    if (it != handles.end()) return it->second;
    HANDLE handle = reinterpret_cast<HANDLE>(next);
    next += 4;
    handles.emplace(key, handle);
    return handle;
}

// The system's cursors (IDC_ARROW 32512 to IDC_HELP 32651) and icons (IDI_APPLICATION 32512 to 32518).
bool isSystemCursor(uintptr_t id) { return id >= 32512 && id <= 32651; }
bool isSystemIcon(uintptr_t id) { return id >= 32512 && id <= 32518; }

}  // namespace

int WINAPI ShowCursor(BOOL bShow) {
    qmp::user::UserState& s = qmp::user::state();
    long ignored = 0;
    if (qmp::enterCall("ShowCursor", &ignored)) return s.cursorCount;  // a failed call changes nothing
    bool wasShown = s.cursorCount >= 0;
    s.cursorCount += bShow ? 1 : -1;
    bool shown = s.cursorCount >= 0;
    if (shown != wasShown) qmp::backend().setCursorVisible(shown);
    return s.cursorCount;
}

HICON WINAPI LoadIconA(HINSTANCE hInstance, LPCSTR lpIconName) {
    QMP_TRACE_VALUE("LoadIconA", nullptr);
    uintptr_t id = reinterpret_cast<uintptr_t>(lpIconName);
    if (!isResourceId(lpIconName) || (hInstance == nullptr && !isSystemIcon(id))) {
        qmp::kernel::setLastError(qmp::kernel::ERROR_RESOURCE_NAME_NOT_FOUND_CODE);
        return nullptr;
    }
    return static_cast<HICON>(resourceHandle('I', hInstance, id));
}

HCURSOR WINAPI LoadCursorA(HINSTANCE hInstance, LPCSTR lpCursorName) {
    QMP_TRACE_VALUE("LoadCursorA", nullptr);
    uintptr_t id = reinterpret_cast<uintptr_t>(lpCursorName);
    if (!isResourceId(lpCursorName) || (hInstance == nullptr && !isSystemCursor(id))) {
        qmp::kernel::setLastError(qmp::kernel::ERROR_RESOURCE_NAME_NOT_FOUND_CODE);
        return nullptr;
    }
    return static_cast<HCURSOR>(resourceHandle('C', hInstance, id));
}

BOOL WINAPI PtInRect(const RECT* lprc, POINT pt) {
    QMP_TRACE_VALUE("PtInRect", FALSE);
    if (lprc == nullptr) return FALSE;
    return pt.x >= lprc->left && pt.x < lprc->right && pt.y >= lprc->top && pt.y < lprc->bottom ? TRUE : FALSE;
}
