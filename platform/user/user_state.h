// USER's state, shared by its files: window classes, windows, the thread's
// message queue, focus, activation and the cursor's display count. Everything
// runs on the program's one thread.
#pragma once

#include <windows.h>

#include <array>
#include <deque>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/control.h"

namespace qmp::user {

struct WindowClass {
    ATOM atom = 0;
    std::string name;  // as registered (code page 950 bytes)
    WNDCLASSA fields{};  // lpszClassName is not kept: the caller's string may go away
};

struct Window {
    HWND handle = nullptr;
    ATOM classAtom = 0;
    std::string title;  // UTF-8
    DWORD style = 0;
    DWORD exStyle = 0;
    RECT rect{};  // screen coordinates; no frame, so the client area is the whole window
    WNDPROC proc = nullptr;
    HINSTANCE instance = nullptr;
    HWND parent = nullptr;
    bool visible = false;
    bool destroying = false;  // WM_DESTROY is being sent
};

struct UserState {
    std::vector<WindowClass> classes;
    ATOM nextAtom = 0xC000;  // where Windows numbers registered classes
    std::unordered_map<HWND, Window> windows;
    HWND mainWindow = nullptr;
    HWND focus = nullptr;
    std::deque<MSG> queue;  // posted and input messages, in arrival order
    bool quitPosted = false;
    int quitCode = 0;
    int cursorCount = 0;  // ShowCursor's display count; shown while >= 0
    bool appActive = true;
    std::array<bool, 256> keyDown{};
    std::vector<platform::MessageBoxRecord> boxes;  // the first kMessageBoxRecordLimit
    uint64_t boxCount = 0;
};

UserState& state();

Window* findWindow(HWND handle);
WindowClass* findClass(LPCSTR nameOrAtom);

// The platform's own message traffic, not traced as the program's calls.
LRESULT sendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
bool postMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
bool destroyWindow(HWND window);

}  // namespace qmp::user
