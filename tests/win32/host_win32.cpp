// Windows' half of support/host.h, and the platform's control calls that the
// shared tests name: reached only if a test forgot to skip, which fails it.
#include "support/host.h"

#include "platform/control.h"

namespace test_host {

bool onThePlatform() { return false; }

HWND displayWindow() {
    static HWND window = [] {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "QuillmereTests";
        RegisterClassA(&windowClass);
        HWND made = CreateWindowExA(0, "QuillmereTests", "Quillmere tests", WS_POPUP | WS_VISIBLE, 0, 0, 640, 480,
                                    nullptr, nullptr, windowClass.hInstance, nullptr);
        EXPECT_NE(made, nullptr);
        return made;
    }();
    return window;
}

void endDirectDraw(LPDIRECTDRAW device) {
    if (device == nullptr) return;
    device->RestoreDisplayMode();
    device->Release();
}

}  // namespace test_host

namespace platform {

void failCall(const std::string& name, int, long) { ADD_FAILURE() << "platform::failCall(" << name << ") on Windows"; }

}  // namespace platform
