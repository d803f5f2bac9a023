// The message queue: peeking and removing, WM_QUIT after everything else,
// filters, dispatching, and the once-per-turn renewal of the screen.
#include <gmock/gmock.h>

#include "core/screen.h"
#include "kernel/last_error.h"
#include "platform/user/test_window.h"

using ::testing::ElementsAre;

namespace {
std::vector<UINT> messagesIn(const std::vector<MSG>& queue) {
    std::vector<UINT> messages;
    for (const MSG& msg : queue) messages.push_back(msg.message);
    return messages;
}
}  // namespace

TEST_F(UserTest, PeekWithoutRemoveLeavesTheMessageAndRemoveTakesIt) {
    HWND window = makeWindow();
    PostMessageA(window, WM_USER, 7, 8);
    PostMessageA(window, WM_USER + 1, 0, 0);
    MSG msg{};
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER));
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER)) << "still first";
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.hwnd, window);
    EXPECT_EQ(msg.wParam, 7u);
    EXPECT_EQ(msg.lParam, 8);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER + 1));
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(UserTest, QuitComesAfterEveryOtherMessageAndGetMessageReturnsZeroForIt) {
    HWND window = makeWindow();
    PostMessageA(window, WM_USER, 0, 0);
    PostQuitMessage(7);
    PostMessageA(window, WM_USER + 1, 0, 0);
    MSG msg{};
    EXPECT_EQ(GetMessageA(&msg, nullptr, 0, 0), TRUE);
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER));
    EXPECT_EQ(GetMessageA(&msg, nullptr, 0, 0), TRUE);
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER + 1)) << "posted after the quit, still before it";
    EXPECT_EQ(GetMessageA(&msg, nullptr, 0, 0), 0);
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(msg.wParam, 7u);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) << "the quit is taken once";
}

TEST_F(UserTest, PeekingAtTheQuitWithoutRemovingKeepsIt) {
    PostQuitMessage(3);
    MSG msg{};
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 3u);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(UserTest, FiltersSelectByWindowAndByMessageRange) {
    HWND first = makeWindow();
    HWND second = makeWindow();
    PostMessageA(first, WM_USER, 0, 0);
    PostMessageA(second, WM_KEYDOWN, VK_LEFT, 0);
    PostMessageA(nullptr, WM_USER + 5, 0, 0);  // a thread message
    MSG msg{};
    ASSERT_TRUE(PeekMessageA(&msg, second, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_KEYDOWN));
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_USER + 1, WM_USER + 10, PM_NOREMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER + 5));
    ASSERT_TRUE(PeekMessageA(&msg, reinterpret_cast<HWND>(-1), 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.hwnd, nullptr);
    EXPECT_FALSE(PeekMessageA(&msg, reinterpret_cast<HWND>(-1), 0, 0, PM_REMOVE));
    EXPECT_THAT(messagesIn(drainQueue()), ElementsAre(WM_USER, WM_KEYDOWN));
}

TEST_F(UserTest, AFilterNamingNoWindowIsAnError) {
    HWND gone = makeWindow();
    DestroyWindow(gone);
    MSG msg{};
    EXPECT_FALSE(PeekMessageA(&msg, gone, 0, 0, PM_REMOVE));
    EXPECT_EQ(GetMessageA(&msg, gone, 0, 0), -1);
    EXPECT_EQ(qmp::kernel::lastError(), qmp::kernel::ERROR_INVALID_WINDOW_HANDLE_CODE);
}

TEST_F(UserTest, DispatchCallsTheWindowProcedureAndReturnsItsResult) {
    messageHook() = [](HWND, UINT message, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
        if (message == WM_USER) return static_cast<LRESULT>(wParam * 2);
        return std::nullopt;
    };
    HWND window = makeWindow();
    PostMessageA(window, WM_USER, 21, 0);
    MSG msg{};
    ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
    EXPECT_EQ(DispatchMessageA(&msg), 42);
    MSG thread{};
    thread.message = WM_USER;
    EXPECT_EQ(DispatchMessageA(&thread), 0) << "a thread message has no procedure";
}

TEST_F(UserTest, TranslateMessageReportsKeyMessages) {
    MSG msg{};
    msg.message = WM_KEYDOWN;
    EXPECT_TRUE(TranslateMessage(&msg));
    msg.message = WM_KEYUP;
    EXPECT_TRUE(TranslateMessage(&msg));
    msg.message = WM_USER;
    EXPECT_FALSE(TranslateMessage(&msg));
    EXPECT_FALSE(TranslateMessage(nullptr));
}

TEST_F(UserTest, PostingToNoWindowFailsAndToNullMakesAThreadMessage) {
    EXPECT_FALSE(PostMessageA(reinterpret_cast<HWND>(0x999), WM_USER, 0, 0));
    EXPECT_EQ(qmp::kernel::lastError(), qmp::kernel::ERROR_INVALID_WINDOW_HANDLE_CODE);
    EXPECT_TRUE(PostMessageA(nullptr, WM_USER, 0, 0));
    EXPECT_EQ(drainQueue().size(), 1u);
}

TEST_F(UserTest, MessagesCarryTheTimeTheyWerePosted) {
    platform::setTime(1500);
    PostMessageA(nullptr, WM_USER, 0, 0);
    platform::setTime(1600);
    MSG msg{};
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.time, 1500u);
}

TEST_F(UserTest, GetMessageWaitsForTheNextScriptedKey) {
    HWND window = makeWindow();
    ASSERT_TRUE(platform::loadScript("500 down Left\n", nullptr));
    MSG msg{};
    ASSERT_EQ(GetMessageA(&msg, nullptr, 0, 0), TRUE);
    EXPECT_EQ(msg.hwnd, window);
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_KEYDOWN));
    EXPECT_EQ(msg.wParam, static_cast<WPARAM>(VK_LEFT));
    EXPECT_EQ(platform::now(), 500u);
}

TEST_F(UserTest, EachLoopTurnRenewsAStaleScreenOnce) {
    int pictures = 0;
    qmp::screen::setSource([&](qmp::Picture& picture) {
        ++pictures;
        picture.width = 2;
        picture.height = 1;
        picture.indices = {0, 1};
        return true;
    });
    MSG msg{};
    qmp::screen::markStale();
    qmp::screen::markStale();
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
    EXPECT_EQ(pictures, 1);
    qmp::screen::markStale();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    EXPECT_EQ(pictures, 2);
    EXPECT_EQ(platform::presentCount(), 2u);
    qmp::screen::setSource(nullptr);
}
