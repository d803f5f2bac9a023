// Test windows whose procedure records every message, and a backend that
// records what USER tells it, for the USER tests.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <vector>

#include "core/backend.h"
#include "support/platform_test.h"

struct Received {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

inline std::vector<Received>& received() {
    static std::vector<Received> messages;
    return messages;
}

// Extra behaviour of the recording procedure: a value answers the message
// instead of DefWindowProcA.
using MessageHook = std::function<std::optional<LRESULT>(HWND, UINT, WPARAM, LPARAM)>;
inline MessageHook& messageHook() {
    static MessageHook hook;
    return hook;
}

inline LRESULT CALLBACK recordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    received().push_back({window, message, wParam, lParam});
    if (messageHook()) {
        if (std::optional<LRESULT> result = messageHook()(window, message, wParam, lParam)) return *result;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

inline void registerTestClass(const char* name = "Test") {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = recordingProc;
    windowClass.lpszClassName = name;
    RegisterClassA(&windowClass);
}

inline HWND makeWindow(DWORD style = WS_POPUP, int x = 0, int y = 0, int width = 640, int height = 480) {
    registerTestClass();
    return CreateWindowExA(0, "Test", "Test window", style, x, y, width, height, nullptr, nullptr, nullptr, nullptr);
}

inline std::vector<UINT> messagesTo(HWND window) {
    std::vector<UINT> messages;
    for (const Received& r : received())
        if (r.window == window) messages.push_back(r.message);
    return messages;
}

inline size_t countOf(UINT message) {
    size_t n = 0;
    for (const Received& r : received()) n += r.message == message ? 1 : 0;
    return n;
}

// The headless backend's behaviour, plus a record of USER's notifications.
struct BackendLog {
    std::vector<bool> cursorChanges;
    std::vector<std::string> created;
    std::vector<HWND> destroyed;
};

class RecordingBackend final : public qmp::Backend {
public:
    explicit RecordingBackend(BackendLog* log) : inner_(qmp::makeHeadlessBackend()), log_(log) {}
    const char* name() const override { return "headless"; }
    bool interactive() const override { return false; }
    void wait(uint32_t timeoutMs, std::vector<qmp::HostEvent>& events) override { inner_->wait(timeoutMs, events); }
    std::optional<qmp::PixelFormat> pixelFormat() const override { return std::nullopt; }
    void present(const qmp::Frame&) override {}
    bool boxOpening(const std::string&) override { return true; }
    void boxClosed() override {}
    void setCursorVisible(bool visible) override { log_->cursorChanges.push_back(visible); }
    SIZE desktopSize() const override { return inner_->desktopSize(); }
    void windowCreated(HWND, const std::string& title) override { log_->created.push_back(title); }
    void windowDestroyed(HWND window) override { log_->destroyed.push_back(window); }

private:
    std::unique_ptr<qmp::Backend> inner_;
    BackendLog* log_;
};

class UserTest : public PlatformTest {
protected:
    void SetUp() override {
        PlatformTest::SetUp();
        received().clear();
        messageHook() = nullptr;
    }
    void TearDown() override {
        messageHook() = nullptr;
        PlatformTest::TearDown();
    }

    // Takes every waiting message out of the queue, without dispatching.
    static std::vector<MSG> drainQueue() {
        std::vector<MSG> messages;
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) messages.push_back(msg);
        return messages;
    }
};
