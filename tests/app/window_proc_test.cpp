// The window procedure's handling of each message, driven in-process.
#include <gtest/gtest.h>

#include <windows.h>

#include "app/globals.h"
#include "app/startup.h"
#include "app/window_proc.h"
#include "platform/control.h"
#include "support/platform_test.h"

namespace {

class WindowProcTest : public PlatformTest {
protected:
    void SetUp() override {
        PlatformTest::SetUp();
        applyDefaults();
        window = createMainWindow("Quillmere Demo", nullptr);
        ASSERT_NE(window, nullptr);
        mainWindow = window;
    }
    HWND window = nullptr;
};

TEST_F(WindowProcTest, TheWindowEndsUpAtTheScreenSizeInTheTopLeftCorner) {
    // CreateWindowExA's WM_SIZE already moved the desktop-sized window.
    RECT rect{};
    ASSERT_TRUE(GetWindowRect(window, &rect));
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.top, 0);
    EXPECT_EQ(rect.right - rect.left, 640);
    EXPECT_EQ(rect.bottom - rect.top, 480);

    MoveWindow(window, 10, 20, 800, 600, TRUE);  // WM_SIZE puts it back
    ASSERT_TRUE(GetWindowRect(window, &rect));
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.right, 640);
    EXPECT_EQ(rect.bottom, 480);
}

TEST_F(WindowProcTest, ActivationSwitchesFramesOnAndOff) {
    EXPECT_EQ(windowProc(window, WM_ACTIVATEAPP, FALSE, 0), 0);
    EXPECT_EQ(appActive, 0);
    EXPECT_EQ(windowProc(window, WM_ACTIVATEAPP, TRUE, 0), 0);
    EXPECT_EQ(appActive, 1);
}

TEST_F(WindowProcTest, DestroyWithoutADisplayReleasesNothingShowsTheCursorAndQuits) {
    int before = ShowCursor(FALSE);  // hidden, as start-up leaves it
    DestroyWindow(window);           // WM_DESTROY
    EXPECT_EQ(ShowCursor(FALSE), before);  // WM_DESTROY showed it once: back to `before` after this hide
    EXPECT_EQ(platform::liveDirectDrawObjects(), 0);
    MSG message{};
    ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(message.wParam, 0u);
}

TEST_F(WindowProcTest, OtherMessagesGoToTheDefaultProcedure) {
    EXPECT_EQ(windowProc(window, WM_CREATE, 0, 0), 0);
    EXPECT_TRUE(IsWindow(window));
    windowProc(window, WM_CLOSE, 0, 0);  // the default closes the window
    EXPECT_FALSE(IsWindow(window));
}

}  // namespace
