// USER32 of windows.h: window classes and windows, their creation with its
// messages, size and position, focus, destruction and the default window
// procedure; and USER's shared state and message traffic (user/user_state.h).
#include <windows.h>

#include <cctype>
#include <cstring>

#include "core/backend.h"
#include "core/reset.h"
#include "core/text.h"
#include "core/trace.h"
#include "kernel/last_error.h"
#include "user/user_state.h"

namespace qmp::user {
namespace {

const ResetHook resetUser([] { state() = UserState{}; });

// Handles are never reused within a process, so a stale one stays invalid
// even across platform::reset().
HWND newWindowHandle() {
    static uintptr_t next = 0x10010;
    HWND handle = reinterpret_cast<HWND>(next);
    next += 0x10;
    return handle;
}

bool isAtom(LPCSTR name) { return reinterpret_cast<uintptr_t>(name) <= 0xFFFF; }

// Class names compare without regard to ASCII case, as on Windows.
bool sameName(const std::string& a, const char* b) {
    size_t length = std::strlen(b);
    if (a.size() != length) return false;
    for (size_t i = 0; i < length; ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

void invalidWindow() { kernel::setLastError(kernel::ERROR_INVALID_WINDOW_HANDLE_CODE); }

LPARAM sizeParam(const RECT& rect) { return MAKELONG(rect.right - rect.left, rect.bottom - rect.top); }

}  // namespace

UserState& state() {
    static UserState s;
    return s;
}

Window* findWindow(HWND handle) {
    if (handle == nullptr) return nullptr;
    auto it = state().windows.find(handle);
    return it == state().windows.end() ? nullptr : &it->second;
}

WindowClass* findClass(LPCSTR nameOrAtom) {
    if (nameOrAtom == nullptr) return nullptr;
    for (WindowClass& windowClass : state().classes) {
        if (isAtom(nameOrAtom) ? windowClass.atom == reinterpret_cast<uintptr_t>(nameOrAtom)
                               : sameName(windowClass.name, nameOrAtom))
            return &windowClass;
    }
    return nullptr;
}

LRESULT sendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* target = findWindow(window);
    if (target == nullptr || target->proc == nullptr) return 0;
    WNDPROC proc = target->proc;  // the procedure may destroy the window: keep nothing else
    return proc(window, message, wParam, lParam);
}

bool postMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (window != nullptr && findWindow(window) == nullptr) return false;
    MSG msg{};
    msg.hwnd = window;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    msg.time = platform::now();
    state().queue.push_back(msg);
    return true;
}

bool destroyWindow(HWND window) {
    Window* target = findWindow(window);
    if (target == nullptr) return false;
    if (target->destroying) return true;  // DestroyWindow again from WM_DESTROY
    target->destroying = true;
    sendMessage(window, WM_DESTROY, 0, 0);

    UserState& s = state();
    s.windows.erase(window);
    // Messages still waiting for the window go with it.
    std::erase_if(s.queue, [window](const MSG& msg) { return msg.hwnd == window; });
    if (s.focus == window) s.focus = nullptr;
    if (s.mainWindow == window) {
        s.mainWindow = nullptr;
        backend().windowDestroyed(window);
    }
    return true;
}

}  // namespace qmp::user

using namespace qmp::user;
using qmp::kernel::setLastError;

ATOM WINAPI RegisterClassA(const WNDCLASSA* lpWndClass) {
    QMP_TRACE_VALUE("RegisterClassA", 0);
    if (lpWndClass == nullptr || lpWndClass->lpszClassName == nullptr || isAtom(lpWndClass->lpszClassName) ||
        *lpWndClass->lpszClassName == '\0') {
        setLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (findClass(lpWndClass->lpszClassName) != nullptr) {
        setLastError(qmp::kernel::ERROR_CLASS_ALREADY_EXISTS_CODE);
        return 0;
    }
    UserState& s = state();
    WindowClass windowClass;
    windowClass.atom = s.nextAtom++;
    windowClass.name = lpWndClass->lpszClassName;
    windowClass.fields = *lpWndClass;
    windowClass.fields.lpszClassName = nullptr;
    windowClass.fields.lpszMenuName = nullptr;
    s.classes.push_back(windowClass);
    return windowClass.atom;
}

HWND WINAPI CreateWindowExA(DWORD dwExStyle, LPCSTR lpClassName, LPCSTR lpWindowName, DWORD dwStyle, int X, int Y,
                            int nWidth, int nHeight, HWND hWndParent, HMENU hMenu, HINSTANCE hInstance,
                            LPVOID lpParam) {
    QMP_TRACE_VALUE("CreateWindowExA", nullptr);
    WindowClass* windowClass = findClass(lpClassName);
    if (windowClass == nullptr) {
        setLastError(qmp::kernel::ERROR_CANNOT_FIND_WND_CLASS_CODE);
        return nullptr;
    }
    if (hWndParent != nullptr && findWindow(hWndParent) == nullptr) {
        invalidWindow();
        return nullptr;
    }
    Window window;
    window.handle = newWindowHandle();
    window.classAtom = windowClass->atom;
    window.title = qmp::text::ansiToUtf8(lpWindowName != nullptr ? lpWindowName : "");
    window.style = dwStyle;
    window.exStyle = dwExStyle;
    window.proc = windowClass->fields.lpfnWndProc;
    window.instance = hInstance;
    window.parent = hWndParent;
    window.visible = (dwStyle & WS_VISIBLE) != 0;
    if (dwStyle & WS_MAXIMIZE) {
        SIZE desktop = qmp::backend().desktopSize();
        window.rect = {0, 0, desktop.cx, desktop.cy};
    } else {
        window.rect = {X, Y, X + (nWidth > 0 ? nWidth : 0), Y + (nHeight > 0 ? nHeight : 0)};
    }

    UserState& s = state();
    HWND handle = window.handle;
    s.windows.emplace(handle, std::move(window));
    if (s.mainWindow == nullptr && hWndParent == nullptr) {
        s.mainWindow = handle;
        qmp::backend().windowCreated(handle, findWindow(handle)->title.c_str());
    }

    const Window& created = *findWindow(handle);
    CREATESTRUCTA create{};
    create.lpCreateParams = lpParam;
    create.hInstance = hInstance;
    create.hMenu = hMenu;
    create.hwndParent = hWndParent;
    create.cx = created.rect.right - created.rect.left;
    create.cy = created.rect.bottom - created.rect.top;
    create.x = created.rect.left;
    create.y = created.rect.top;
    create.style = static_cast<LONG>(dwStyle);
    create.lpszName = lpWindowName;
    create.lpszClass = lpClassName;
    create.dwExStyle = dwExStyle;
    // A procedure that answers WM_CREATE with -1 refuses the window.
    if (sendMessage(handle, WM_CREATE, 0, reinterpret_cast<LPARAM>(&create)) == -1) {
        destroyWindow(handle);
        return nullptr;
    }
    Window* live = findWindow(handle);
    if (live == nullptr) return nullptr;  // destroyed while being created
    sendMessage(handle, WM_SIZE, (dwStyle & WS_MAXIMIZE) ? SIZE_MAXIMIZED : SIZE_RESTORED, sizeParam(live->rect));
    return findWindow(handle) != nullptr ? handle : nullptr;
}

BOOL WINAPI ShowWindow(HWND hWnd, int nCmdShow) {
    QMP_TRACE_VALUE("ShowWindow", FALSE);
    Window* window = findWindow(hWnd);
    if (window == nullptr) {
        invalidWindow();
        return FALSE;
    }
    BOOL wasVisible = window->visible ? TRUE : FALSE;
    window->visible = nCmdShow != SW_HIDE;
    if (nCmdShow == SW_SHOWMAXIMIZED) {
        SIZE desktop = qmp::backend().desktopSize();
        RECT full{0, 0, desktop.cx, desktop.cy};
        RECT old = window->rect;
        window->rect = full;
        if (old.right - old.left != full.right || old.bottom - old.top != full.bottom)
            sendMessage(hWnd, WM_SIZE, SIZE_MAXIMIZED, sizeParam(full));
    }
    return wasVisible;
}

BOOL WINAPI UpdateWindow(HWND hWnd) {
    QMP_TRACE_VALUE("UpdateWindow", FALSE);
    // Nothing is ever invalidated (the program draws through DirectDraw), so
    // there is no WM_PAINT to send.
    if (findWindow(hWnd) == nullptr) {
        invalidWindow();
        return FALSE;
    }
    return TRUE;
}

HWND WINAPI SetFocus(HWND hWnd) {
    QMP_TRACE_VALUE("SetFocus", nullptr);
    if (hWnd != nullptr && findWindow(hWnd) == nullptr) {
        invalidWindow();
        return nullptr;
    }
    UserState& s = state();
    HWND previous = s.focus;
    if (previous == hWnd) return previous;
    s.focus = hWnd;
    if (previous != nullptr) sendMessage(previous, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hWnd), 0);
    if (hWnd != nullptr && state().focus == hWnd)
        sendMessage(hWnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
    return previous;
}

int WINAPI GetSystemMetrics(int nIndex) {
    QMP_TRACE_VALUE("GetSystemMetrics", 0);
    switch (nIndex) {
    case SM_CXSCREEN: return qmp::backend().desktopSize().cx;
    case SM_CYSCREEN: return qmp::backend().desktopSize().cy;
    default: return 0;  // as Windows answers an index it does not know
    }
}

BOOL WINAPI MoveWindow(HWND hWnd, int X, int Y, int nWidth, int nHeight, BOOL) {
    QMP_TRACE_VALUE("MoveWindow", FALSE);
    Window* window = findWindow(hWnd);
    if (window == nullptr) {
        invalidWindow();
        return FALSE;
    }
    RECT old = window->rect;
    window->rect = {X, Y, X + (nWidth > 0 ? nWidth : 0), Y + (nHeight > 0 ? nHeight : 0)};
    bool resized = old.right - old.left != window->rect.right - window->rect.left ||
                   old.bottom - old.top != window->rect.bottom - window->rect.top;
    if (resized) sendMessage(hWnd, WM_SIZE, SIZE_RESTORED, sizeParam(window->rect));
    return TRUE;
}

namespace {

// The window a rectangle query names, or null (with the error set) when the
// window or the place to write is missing.
const Window* windowForRectQuery(HWND hWnd, LPRECT lpRect) {
    const Window* window = findWindow(hWnd);
    if (window == nullptr) {
        invalidWindow();
        return nullptr;
    }
    if (lpRect == nullptr) {
        setLastError(qmp::kernel::ERROR_NOACCESS_CODE);
        return nullptr;
    }
    return window;
}

}  // namespace

BOOL WINAPI GetClientRect(HWND hWnd, LPRECT lpRect) {
    QMP_TRACE_VALUE("GetClientRect", FALSE);
    const Window* window = windowForRectQuery(hWnd, lpRect);
    if (window == nullptr) return FALSE;
    *lpRect = {0, 0, window->rect.right - window->rect.left, window->rect.bottom - window->rect.top};
    return TRUE;
}

BOOL WINAPI GetWindowRect(HWND hWnd, LPRECT lpRect) {
    QMP_TRACE_VALUE("GetWindowRect", FALSE);
    const Window* window = windowForRectQuery(hWnd, lpRect);
    if (window == nullptr) return FALSE;
    *lpRect = window->rect;
    return TRUE;
}

BOOL WINAPI IsWindow(HWND hWnd) {
    QMP_TRACE_VALUE("IsWindow", FALSE);
    return findWindow(hWnd) != nullptr ? TRUE : FALSE;
}

BOOL WINAPI DestroyWindow(HWND hWnd) {
    QMP_TRACE_VALUE("DestroyWindow", FALSE);
    if (!destroyWindow(hWnd)) {
        invalidWindow();
        return FALSE;
    }
    return TRUE;
}

LRESULT WINAPI DefWindowProcA(HWND hWnd, UINT Msg, WPARAM, LPARAM) {
    QMP_TRACE_VALUE("DefWindowProcA", 0);
    if (Msg == WM_CLOSE) destroyWindow(hWnd);
    return 0;
}

LRESULT WINAPI SendMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    QMP_TRACE_VALUE("SendMessageA", 0);
    if (findWindow(hWnd) == nullptr) {
        invalidWindow();
        return 0;
    }
    return sendMessage(hWnd, Msg, wParam, lParam);
}
