// Waiting on the virtual clock, and what scripted input turns into: keys to
// the focus window, activation changes, the close button, a run that is over.
#include <gmock/gmock.h>

#include <mmsystem.h>

#include "core/exclusive.h"
#include "core/script.h"
#include "platform/user/test_window.h"

using ::testing::ElementsAre;

class WaitTest : public UserTest {
protected:
    void TearDown() override {
        qmp::exclusive::setLossHandler(nullptr);
        UserTest::TearDown();
    }
};

TEST_F(WaitTest, MsgWaitTimesOutAfterAdvancingTheClockByTheTimeout) {
    platform::setTime(100);
    EXPECT_EQ(MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_EQ(platform::now(), 150u);
    EXPECT_EQ(MsgWaitForMultipleObjects(0, nullptr, FALSE, 0, QS_ALLINPUT), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_EQ(platform::now(), 150u) << "a zero timeout does not wait";
}

TEST_F(WaitTest, MsgWaitEndsEarlyAtAnEventThatBringsInput) {
    makeWindow();
    ASSERT_TRUE(platform::loadScript("20 down Space\n", nullptr));
    EXPECT_EQ(MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT), static_cast<DWORD>(WAIT_OBJECT_0));
    EXPECT_EQ(platform::now(), 20u);
    EXPECT_EQ(MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT), static_cast<DWORD>(WAIT_OBJECT_0))
        << "the key is still waiting";
    EXPECT_EQ(platform::now(), 20u);
}

TEST_F(WaitTest, MsgWaitSleepsThroughEventsThatBringNoInput) {
    int losses = 0;
    qmp::exclusive::setLossHandler([&] { ++losses; });
    makeWindow();
    ASSERT_TRUE(platform::loadScript("20 lose\n100 press A\n", nullptr));
    EXPECT_EQ(MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_EQ(platform::now(), 50u);
    EXPECT_EQ(losses, 1);
    EXPECT_EQ(MsgWaitForMultipleObjects(0, nullptr, FALSE, INFINITE, QS_ALLINPUT), static_cast<DWORD>(WAIT_OBJECT_0));
    EXPECT_EQ(platform::now(), 100u);
}

TEST_F(WaitTest, MsgWaitHonoursTheWakeMask) {
    HWND window = makeWindow();
    PostMessageA(window, WM_USER, 0, 0);
    EXPECT_EQ(MsgWaitForMultipleObjects(0, nullptr, FALSE, 30, QS_KEY), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_EQ(MsgWaitForMultipleObjects(0, nullptr, FALSE, 30, QS_POSTMESSAGE), static_cast<DWORD>(WAIT_OBJECT_0));
    EXPECT_EQ(platform::now(), 30u);
}

TEST_F(WaitTest, MsgWaitOnHandlesFails) {
    HANDLE handle = reinterpret_cast<HANDLE>(0x100);
    EXPECT_EQ(MsgWaitForMultipleObjects(1, &handle, FALSE, 10, QS_ALLINPUT), WAIT_FAILED);
}

TEST_F(WaitTest, WaitMessageJumpsToTheNextEvent) {
    makeWindow();
    ASSERT_TRUE(platform::loadScript("1234 press F1\n", nullptr));
    EXPECT_TRUE(WaitMessage());
    EXPECT_EQ(platform::now(), 1234u);
    std::vector<MSG> queue = drainQueue();
    ASSERT_EQ(queue.size(), 2u);
    EXPECT_EQ(queue[0].message, static_cast<UINT>(WM_KEYDOWN));
    EXPECT_EQ(queue[1].message, static_cast<UINT>(WM_KEYUP));
}

TEST_F(WaitTest, KeysGoToTheFocusWindowWithWindowsKeyBits) {
    HWND main = makeWindow();
    HWND other = makeWindow();
    ASSERT_TRUE(platform::loadScript("10 down Shift\n20 down Shift\n30 up Shift\n40 press 27\n", nullptr));
    // With an empty wake mask the waits run their full time, delivering on the way.
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 35, 0);
    SetFocus(other);
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 35, 0);
    std::vector<MSG> queue = drainQueue();
    ASSERT_EQ(queue.size(), 5u);
    EXPECT_EQ(queue[0].hwnd, main) << "with no focus, keys go to the main window";
    EXPECT_EQ(queue[0].wParam, static_cast<WPARAM>(VK_SHIFT));
    EXPECT_EQ(queue[0].lParam & (1 << 30), 0) << "first press";
    EXPECT_NE(queue[1].lParam & (1 << 30), 0) << "a repeat: the key was already down";
    EXPECT_EQ(queue[2].message, static_cast<UINT>(WM_KEYUP));
    EXPECT_EQ(static_cast<uint32_t>(queue[2].lParam) >> 30, 3u) << "release: previous state and transition";
    EXPECT_EQ(queue[3].hwnd, other);
    EXPECT_EQ(queue[3].wParam, static_cast<WPARAM>(VK_ESCAPE));
}

TEST_F(WaitTest, AHeldKeyRepeatsHeadlessTooWakingTheWaitsAndReachingABox) {
    makeWindow();
    ASSERT_TRUE(platform::loadScript("10 down Space\n", nullptr));
    EXPECT_EQ(MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_KEY), static_cast<DWORD>(WAIT_OBJECT_0));
    EXPECT_EQ(drainQueue().size(), 1u);
    EXPECT_EQ(MsgWaitForMultipleObjects(0, nullptr, FALSE, 1000, QS_KEY), static_cast<DWORD>(WAIT_OBJECT_0));
    EXPECT_EQ(platform::now(), 510u) << "the first repeat, half a second after the press";
    std::vector<MSG> queue = drainQueue();
    ASSERT_EQ(queue.size(), 1u);
    EXPECT_EQ(static_cast<uint32_t>(queue[0].lParam), (1u << 30) | 1u) << "previous state, count 1";
    // The box opens with Space still held: its next repeat presses the focused button.
    EXPECT_EQ(MessageBoxA(nullptr, "held", "caption", MB_YESNO), IDYES);
    EXPECT_EQ(platform::now(), 543u);
}

TEST_F(WaitTest, ActivationChangesArePostedOnceAndDeactivationLosesSurfaces) {
    int losses = 0;
    qmp::exclusive::setLossHandler([&] { ++losses; });
    HWND window = makeWindow();
    ASSERT_TRUE(platform::loadScript("10 activate\n20 deactivate\n30 deactivate\n40 activate\n", nullptr));
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_KEY);
    std::vector<MSG> queue = drainQueue();
    ASSERT_EQ(queue.size(), 2u) << "the program starts active; repeats are no changes";
    EXPECT_EQ(queue[0].hwnd, window);
    EXPECT_EQ(queue[0].message, static_cast<UINT>(WM_ACTIVATEAPP));
    EXPECT_EQ(queue[0].wParam, static_cast<WPARAM>(FALSE));
    EXPECT_EQ(queue[1].wParam, static_cast<WPARAM>(TRUE));
    EXPECT_EQ(losses, 1);
}

TEST_F(WaitTest, CloseEventPostsWmCloseWhichTheDefaultProcedureTurnsIntoDestruction) {
    HWND window = makeWindow();
    ASSERT_TRUE(platform::loadScript("50 close\n", nullptr));
    MSG msg{};
    ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_CLOSE));
    DispatchMessageA(&msg);
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(WaitTest, SleepAdvancesTheVirtualClockThatTimeGetTimeReads) {
    platform::setTime(40);
    Sleep(25);
    EXPECT_EQ(timeGetTime(), 65u);
    EXPECT_EQ(timeBeginPeriod(1), static_cast<MMRESULT>(TIMERR_NOERROR));
    EXPECT_EQ(timeEndPeriod(1), static_cast<MMRESULT>(TIMERR_NOERROR));
    EXPECT_EQ(timeEndPeriod(1), static_cast<MMRESULT>(TIMERR_NOCANDO)) << "more ends than begins";
    EXPECT_EQ(timeBeginPeriod(0), static_cast<MMRESULT>(TIMERR_NOCANDO));
}

TEST_F(WaitTest, TheVirtualClockWrapsLikeTimeGetTime) {
    platform::reset(0xFFFFFFF0u);
    makeWindow();
    ASSERT_TRUE(platform::loadScript("10 press A\n30 press B\n", nullptr, platform::now()));
    MSG msg{};
    ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.wParam, static_cast<WPARAM>('A'));
    EXPECT_EQ(platform::now(), 0xFFFFFFFAu);
    drainQueue();
    ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.wParam, static_cast<WPARAM>('B'));
    EXPECT_EQ(platform::now(), 14u) << "past the wrap";
}

// A program that waits for ever once its script has run out is asked to close;
// when it still waits, the run is stopped with exit code 3.
TEST_F(WaitTest, AWaitThatCanNeverEndClosesTheWindowThenStopsTheRun) {
    messageHook() = [](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message == WM_CLOSE) return 0;  // a program that ignores the close button
        return std::nullopt;
    };
    makeWindow();
    EXPECT_EXIT(
        {
            MSG msg;
            for (;;) {
                WaitMessage();
                while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
            }
        },
        ::testing::ExitedWithCode(3), "still waiting .* stopping");
}

TEST_F(WaitTest, TheFirstEndlessWaitPostsWmClose) {
    HWND window = makeWindow();
    ASSERT_TRUE(platform::loadScript("10 press A\n", nullptr));
    drainQueue();
    MSG msg{};
    ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_KEYDOWN));
    drainQueue();
    ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_CLOSE));
    EXPECT_EQ(msg.hwnd, window);
    EXPECT_TRUE(qmp::script::ended());
}

TEST_F(WaitTest, AProgramRunningPastTheIdleLimitIsClosed) {
    makeWindow();
    qmp::script::setIdleLimit(1000);
    ASSERT_TRUE(platform::loadScript("100 press A\n", nullptr));
    drainQueue();
    uint32_t closedAt = 0;
    for (int turn = 0; turn < 500 && closedAt == 0; ++turn) {
        if (MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT) == WAIT_OBJECT_0) {
            for (const MSG& msg : drainQueue())
                if (msg.message == WM_CLOSE) closedAt = msg.time;
        }
    }
    EXPECT_EQ(closedAt, 1100u) << "a second after the last event";
}
