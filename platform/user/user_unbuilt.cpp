#include <windows.h>
#include "core/unbuilt.h"
#include "core/backend.h"
ATOM WINAPI RegisterClassA(const WNDCLASSA*) { QMP_UNBUILT(); }
HWND WINAPI CreateWindowExA(DWORD, LPCSTR, LPCSTR, DWORD, int, int, int, int, HWND, HMENU, HINSTANCE, LPVOID) { QMP_UNBUILT(); }
BOOL WINAPI ShowWindow(HWND, int) { QMP_UNBUILT(); }
BOOL WINAPI UpdateWindow(HWND) { QMP_UNBUILT(); }
HWND WINAPI SetFocus(HWND) { QMP_UNBUILT(); }
int WINAPI ShowCursor(BOOL) { QMP_UNBUILT(); }
int WINAPI GetSystemMetrics(int) { QMP_UNBUILT(); }
BOOL WINAPI MoveWindow(HWND, int, int, int, int, BOOL) { QMP_UNBUILT(); }
BOOL WINAPI GetClientRect(HWND, LPRECT) { QMP_UNBUILT(); }
BOOL WINAPI GetWindowRect(HWND, LPRECT) { QMP_UNBUILT(); }
BOOL WINAPI DestroyWindow(HWND) { QMP_UNBUILT(); }
BOOL WINAPI IsWindow(HWND) { QMP_UNBUILT(); }
LRESULT WINAPI DefWindowProcA(HWND, UINT, WPARAM, LPARAM) { QMP_UNBUILT(); }
LRESULT WINAPI SendMessageA(HWND, UINT, WPARAM, LPARAM) { QMP_UNBUILT(); }
BOOL WINAPI PostMessageA(HWND, UINT, WPARAM, LPARAM) { QMP_UNBUILT(); }
HICON WINAPI LoadIconA(HINSTANCE, LPCSTR) { QMP_UNBUILT(); }
HCURSOR WINAPI LoadCursorA(HINSTANCE, LPCSTR) { QMP_UNBUILT(); }
BOOL WINAPI PtInRect(const RECT*, POINT) { QMP_UNBUILT(); }
BOOL WINAPI PeekMessageA(LPMSG, HWND, UINT, UINT, UINT) { QMP_UNBUILT(); }
BOOL WINAPI GetMessageA(LPMSG, HWND, UINT, UINT) { QMP_UNBUILT(); }
BOOL WINAPI TranslateMessage(const MSG*) { QMP_UNBUILT(); }
LRESULT WINAPI DispatchMessageA(const MSG*) { QMP_UNBUILT(); }
BOOL WINAPI WaitMessage(void) { QMP_UNBUILT(); }
DWORD WINAPI MsgWaitForMultipleObjects(DWORD, const HANDLE*, BOOL, DWORD, DWORD) { QMP_UNBUILT(); }
void WINAPI PostQuitMessage(int) { QMP_UNBUILT(); }
int WINAPI MessageBoxA(HWND, LPCSTR, LPCSTR, UINT) { QMP_UNBUILT(); }
namespace qmp {
std::unique_ptr<Backend> makeHeadlessBackend() { QMP_UNBUILT(); }
}
