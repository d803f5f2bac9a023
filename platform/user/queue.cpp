// USER32 of windows.h: the thread's message queue and the calls of the message
// loop. Each loop-turn call first renews the visible picture (at most once per
// turn), then lets the platform deliver what is due: without waiting for
// PeekMessageA, up to the timeout for MsgWaitForMultipleObjects, as long as it
// takes for GetMessageA and WaitMessage when the queue is empty.
#include <windows.h>

#include "core/clock.h"
#include "core/delivery.h"
#include "core/screen.h"
#include "core/trace.h"
#include "kernel/last_error.h"
#include "user/user_state.h"

namespace qmp::user {
namespace {

const HWND kThreadMessagesOnly = reinterpret_cast<HWND>(static_cast<intptr_t>(-1));

bool isKeyMessage(UINT message) {
    return message == WM_KEYDOWN || message == WM_KEYUP || message == WM_SYSKEYDOWN || message == WM_SYSKEYUP;
}

bool passesFilter(const MSG& msg, HWND window, UINT first, UINT last) {
    if (window == kThreadMessagesOnly) {
        if (msg.hwnd != nullptr) return false;
    } else if (window != nullptr && msg.hwnd != window) {
        return false;
    }
    if (first == 0 && last == 0) return true;
    return msg.message >= first && msg.message <= last;
}

bool validFilter(HWND window) {
    return window == nullptr || window == kThreadMessagesOnly || findWindow(window) != nullptr;
}

// Finds the first message that passes the filter, WM_QUIT only when no other
// does; with `remove`, takes it out of the queue (and clears the quit request).
bool takeMessage(MSG* out, HWND window, UINT first, UINT last, bool remove) {
    UserState& s = state();
    for (auto it = s.queue.begin(); it != s.queue.end(); ++it) {
        if (!passesFilter(*it, window, first, last)) continue;
        *out = *it;
        if (remove) s.queue.erase(it);
        return true;
    }
    if (!s.quitPosted) return false;
    *out = MSG{};
    out->message = WM_QUIT;
    out->wParam = static_cast<WPARAM>(s.quitCode);
    out->time = clock::now();
    if (remove) s.quitPosted = false;
    return true;
}

bool anyMessage(HWND window, UINT first, UINT last) {
    MSG ignored;
    return takeMessage(&ignored, window, first, last, false);
}

// MsgWaitForMultipleObjects' wake mask: keys are QS_KEY, everything else
// (WM_QUIT included) arrives as a posted message.
bool inputMatches(DWORD wakeMask) {
    const UserState& s = state();
    if ((wakeMask & QS_POSTMESSAGE) && s.quitPosted) return true;
    for (const MSG& msg : s.queue) {
        DWORD kind = isKeyMessage(msg.message) ? QS_KEY : QS_POSTMESSAGE;
        if (wakeMask & kind) return true;
    }
    return false;
}

// Blocks until a message passing the filter is there.
void waitForMessage(HWND window, UINT first, UINT last) {
    qmp::delivery::pump(0);
    while (!anyMessage(window, first, last)) qmp::delivery::pump(INFINITE);
}

}  // namespace
}  // namespace qmp::user

using namespace qmp::user;

BOOL WINAPI PostMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    QMP_TRACE_VALUE("PostMessageA", FALSE);
    if (!postMessage(hWnd, Msg, wParam, lParam)) {
        qmp::kernel::setLastError(qmp::kernel::ERROR_INVALID_WINDOW_HANDLE_CODE);
        return FALSE;
    }
    return TRUE;
}

void WINAPI PostQuitMessage(int nExitCode) {
    long ignored = 0;
    qmp::enterCall("PostQuitMessage", &ignored);  // cannot fail; traced for the call log
    state().quitPosted = true;
    state().quitCode = nExitCode;
}

BOOL WINAPI PeekMessageA(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax, UINT wRemoveMsg) {
    QMP_TRACE_VALUE("PeekMessageA", FALSE);
    qmp::screen::refresh();
    qmp::delivery::pump(0);
    if (lpMsg == nullptr || !validFilter(hWnd)) {
        qmp::kernel::setLastError(lpMsg == nullptr ? qmp::kernel::ERROR_NOACCESS_CODE
                                                   : qmp::kernel::ERROR_INVALID_WINDOW_HANDLE_CODE);
        return FALSE;
    }
    return takeMessage(lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax, (wRemoveMsg & PM_REMOVE) != 0) ? TRUE : FALSE;
}

BOOL WINAPI GetMessageA(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax) {
    QMP_TRACE_VALUE("GetMessageA", -1);
    qmp::screen::refresh();
    if (lpMsg == nullptr || !validFilter(hWnd)) {
        qmp::kernel::setLastError(lpMsg == nullptr ? qmp::kernel::ERROR_NOACCESS_CODE
                                                   : qmp::kernel::ERROR_INVALID_WINDOW_HANDLE_CODE);
        return -1;
    }
    waitForMessage(hWnd, wMsgFilterMin, wMsgFilterMax);
    takeMessage(lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax, true);
    return lpMsg->message == WM_QUIT ? 0 : TRUE;
}

BOOL WINAPI TranslateMessage(const MSG* lpMsg) {
    QMP_TRACE_VALUE("TranslateMessage", FALSE);
    // No WM_CHAR is made: the program reads virtual-key codes only.
    return lpMsg != nullptr && isKeyMessage(lpMsg->message) ? TRUE : FALSE;
}

LRESULT WINAPI DispatchMessageA(const MSG* lpMsg) {
    QMP_TRACE_VALUE("DispatchMessageA", 0);
    if (lpMsg == nullptr || lpMsg->hwnd == nullptr) return 0;  // thread messages have no procedure
    if (findWindow(lpMsg->hwnd) == nullptr) {
        qmp::kernel::setLastError(qmp::kernel::ERROR_INVALID_WINDOW_HANDLE_CODE);
        return 0;
    }
    return sendMessage(lpMsg->hwnd, lpMsg->message, lpMsg->wParam, lpMsg->lParam);
}

BOOL WINAPI WaitMessage(void) {
    QMP_TRACE_VALUE("WaitMessage", FALSE);
    qmp::screen::refresh();
    waitForMessage(nullptr, 0, 0);
    return TRUE;
}

DWORD WINAPI MsgWaitForMultipleObjects(DWORD nCount, const HANDLE* pHandles, BOOL, DWORD dwMilliseconds,
                                       DWORD dwWakeMask) {
    QMP_TRACE_VALUE("MsgWaitForMultipleObjects", WAIT_FAILED);
    qmp::screen::refresh();
    if (nCount > 0) {
        // No kernel object here can be waited for; the program waits for messages only.
        qmp::kernel::setLastError(pHandles == nullptr ? ERROR_INVALID_PARAMETER : ERROR_INVALID_HANDLE);
        return WAIT_FAILED;
    }
    const uint32_t start = qmp::clock::now();
    qmp::delivery::pump(0);
    for (;;) {
        if (inputMatches(dwWakeMask)) return WAIT_OBJECT_0 + nCount;
        uint32_t remaining = INFINITE;
        if (dwMilliseconds != INFINITE) {
            uint32_t waited = qmp::clock::now() - start;
            if (waited >= dwMilliseconds) return WAIT_TIMEOUT;
            remaining = dwMilliseconds - waited;
        }
        qmp::delivery::pump(remaining);
    }
}
