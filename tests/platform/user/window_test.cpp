// Window classes and windows: the messages Windows sends around creation,
// resizing and destruction, focus, the cursor count and the small helpers.
#include <gmock/gmock.h>

#include "kernel/last_error.h"
#include "platform/user/test_window.h"

using ::testing::ElementsAre;

TEST_F(UserTest, CreateWindowSendsCreateThenSizeWithTheClientSize) {
    HWND window = makeWindow(WS_POPUP, 10, 20, 300, 200);
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(received().size(), 2u);
    EXPECT_EQ(received()[0].message, static_cast<UINT>(WM_CREATE));
    EXPECT_EQ(received()[1].message, static_cast<UINT>(WM_SIZE));
    EXPECT_EQ(received()[1].wParam, static_cast<WPARAM>(SIZE_RESTORED));
    EXPECT_EQ(received()[1].lParam, MAKELONG(300, 200));

    RECT client{}, outer{};
    ASSERT_TRUE(GetClientRect(window, &client));
    ASSERT_TRUE(GetWindowRect(window, &outer));
    EXPECT_EQ(client.right, 300);
    EXPECT_EQ(client.bottom, 200);
    EXPECT_EQ(outer.left, 10);
    EXPECT_EQ(outer.top, 20);
    EXPECT_EQ(outer.right, 310);
    EXPECT_EQ(outer.bottom, 220);
}

TEST_F(UserTest, CreateStructCarriesTheCreationArguments) {
    int seenWidth = 0;
    LPVOID seenParam = nullptr;
    messageHook() = [&](HWND, UINT message, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
        if (message == WM_CREATE) {
            auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
            seenWidth = create->cx;
            seenParam = create->lpCreateParams;
        }
        return std::nullopt;
    };
    int marker = 0;
    registerTestClass();
    CreateWindowExA(0, "Test", "t", WS_POPUP, 0, 0, 123, 45, nullptr, nullptr, nullptr, &marker);
    EXPECT_EQ(seenWidth, 123);
    EXPECT_EQ(seenParam, &marker);
}

TEST_F(UserTest, MaximizedWindowCoversTheDesktop) {
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 768);
    HWND window = makeWindow(WS_POPUP | WS_MAXIMIZE, 0, 0, 640, 480);
    RECT rect{};
    GetWindowRect(window, &rect);
    EXPECT_EQ(rect.right, 1024);
    EXPECT_EQ(rect.bottom, 768);
    ASSERT_EQ(received().size(), 2u);
    EXPECT_EQ(received()[1].wParam, static_cast<WPARAM>(SIZE_MAXIMIZED));
    EXPECT_EQ(received()[1].lParam, MAKELONG(1024, 768));
}

TEST_F(UserTest, ClassesAreFoundByNameInAnyCaseOrByAtom) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = recordingProc;
    windowClass.lpszClassName = "Quillmere Demo";
    ATOM atom = RegisterClassA(&windowClass);
    ASSERT_NE(atom, 0);
    EXPECT_EQ(RegisterClassA(&windowClass), 0) << "a class registers once";

    EXPECT_NE(CreateWindowExA(0, "QUILLMERE DEMO", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr),
              nullptr);
    EXPECT_NE(CreateWindowExA(0, MAKEINTRESOURCEA(atom), "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr),
              nullptr);
}

TEST_F(UserTest, UnknownClassGivesNoWindowAndNoMessages) {
    EXPECT_EQ(CreateWindowExA(0, "Nobody", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr), nullptr);
    EXPECT_EQ(qmp::kernel::lastError(), qmp::kernel::ERROR_CANNOT_FIND_WND_CLASS_CODE);
    EXPECT_TRUE(received().empty());
}

TEST_F(UserTest, WindowRefusedByItsCreateHandlerIsDestroyed) {
    messageHook() = [](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message == WM_CREATE) return -1;
        return std::nullopt;
    };
    EXPECT_EQ(makeWindow(), nullptr);
    EXPECT_EQ(countOf(WM_DESTROY), 1u);
    EXPECT_EQ(countOf(WM_SIZE), 0u);
}

TEST_F(UserTest, MoveWindowSendsSizeOnlyWhenTheSizeChanges) {
    HWND window = makeWindow(WS_POPUP, 0, 0, 640, 480);
    received().clear();
    ASSERT_TRUE(MoveWindow(window, 50, 60, 640, 480, TRUE));
    EXPECT_TRUE(received().empty()) << "moved, not resized";
    RECT rect{};
    GetWindowRect(window, &rect);
    EXPECT_EQ(rect.left, 50);

    ASSERT_TRUE(MoveWindow(window, 50, 60, 320, 240, TRUE));
    ASSERT_EQ(received().size(), 1u);
    EXPECT_EQ(received()[0].message, static_cast<UINT>(WM_SIZE));
    EXPECT_EQ(received()[0].lParam, MAKELONG(320, 240));
    EXPECT_FALSE(MoveWindow(reinterpret_cast<HWND>(0x1234), 0, 0, 1, 1, TRUE));
}

TEST_F(UserTest, ResizingFromTheSizeHandlerSettlesAtTheAskedSize) {
    // What the demo does: every WM_SIZE moves the window to 640 x 480.
    messageHook() = [](HWND window, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message == WM_SIZE) MoveWindow(window, 0, 0, 640, 480, TRUE);
        return std::nullopt;
    };
    HWND window = makeWindow(WS_POPUP | WS_MAXIMIZE);
    EXPECT_EQ(countOf(WM_SIZE), 2u) << "1024 x 768 at creation, then 640 x 480 once";
    RECT rect{};
    GetClientRect(window, &rect);
    EXPECT_EQ(rect.right, 640);
    EXPECT_EQ(rect.bottom, 480);
}

TEST_F(UserTest, DestroyWindowSendsDestroyAndForgetsTheWindow) {
    HWND window = makeWindow();
    PostMessageA(window, WM_USER, 1, 2);
    received().clear();
    ASSERT_TRUE(DestroyWindow(window));
    EXPECT_THAT(messagesTo(window), ElementsAre(WM_DESTROY));
    EXPECT_FALSE(IsWindow(window));
    EXPECT_FALSE(DestroyWindow(window));
    EXPECT_EQ(SendMessageA(window, WM_USER, 0, 0), 0);
    EXPECT_TRUE(drainQueue().empty()) << "messages for a destroyed window go with it";
}

TEST_F(UserTest, DestroyWindowInsideWmDestroyDoesNotRecurse) {
    messageHook() = [](HWND window, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message == WM_DESTROY) {
            EXPECT_TRUE(DestroyWindow(window));
        }
        return std::nullopt;
    };
    HWND window = makeWindow();
    ASSERT_TRUE(DestroyWindow(window));
    EXPECT_EQ(countOf(WM_DESTROY), 1u);
}

TEST_F(UserTest, DefWindowProcClosesOnWmCloseAndIgnoresTheRest) {
    HWND window = makeWindow();
    EXPECT_EQ(DefWindowProcA(window, WM_KEYDOWN, VK_ESCAPE, 0), 0);
    EXPECT_TRUE(IsWindow(window));
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(countOf(WM_DESTROY), 1u);
}

TEST_F(UserTest, SetFocusReturnsThePreviousFocusAndTellsBothWindows) {
    HWND first = makeWindow();
    HWND second = makeWindow();
    received().clear();
    EXPECT_EQ(SetFocus(first), nullptr);
    EXPECT_EQ(SetFocus(second), first);
    EXPECT_THAT(messagesTo(first), ElementsAre(WM_SETFOCUS, WM_KILLFOCUS));
    EXPECT_THAT(messagesTo(second), ElementsAre(WM_SETFOCUS));
    EXPECT_EQ(SetFocus(reinterpret_cast<HWND>(0x4321)), nullptr);
    EXPECT_EQ(SetFocus(second), second) << "an invalid window leaves the focus where it was";
}

TEST_F(UserTest, ShowWindowReturnsWhetherItWasVisible) {
    HWND window = makeWindow();
    EXPECT_FALSE(ShowWindow(window, SW_SHOWDEFAULT));
    EXPECT_TRUE(ShowWindow(window, SW_HIDE));
    EXPECT_FALSE(ShowWindow(window, SW_SHOW));
    EXPECT_TRUE(UpdateWindow(window));
}

TEST_F(UserTest, ShowCursorCountsAndTellsTheBackendOnlyWhenVisibilityFlips) {
    BackendLog log;
    qmp::setBackend(std::make_unique<RecordingBackend>(&log));
    EXPECT_EQ(ShowCursor(FALSE), -1);
    EXPECT_EQ(ShowCursor(FALSE), -2);
    EXPECT_EQ(ShowCursor(TRUE), -1);
    EXPECT_EQ(ShowCursor(TRUE), 0);
    EXPECT_EQ(ShowCursor(TRUE), 1);
    EXPECT_THAT(log.cursorChanges, ElementsAre(false, true));
}

TEST_F(UserTest, TheBackendHearsOfTheMainWindowOnly) {
    BackendLog log;
    qmp::setBackend(std::make_unique<RecordingBackend>(&log));
    registerTestClass();
    HWND main = CreateWindowExA(0, "Test", "Quillmere Demo", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    HWND other = CreateWindowExA(0, "Test", "Other", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    DestroyWindow(other);
    DestroyWindow(main);
    EXPECT_THAT(log.created, ElementsAre("Quillmere Demo"));
    EXPECT_THAT(log.destroyed, ElementsAre(main));
}

TEST_F(UserTest, PtInRectIncludesLeftAndTopAndExcludesRightAndBottom) {
    const RECT rect{0, 0, 640, 480};
    EXPECT_TRUE(PtInRect(&rect, POINT{0, 0}));
    EXPECT_TRUE(PtInRect(&rect, POINT{639, 479}));
    EXPECT_FALSE(PtInRect(&rect, POINT{640, 0}));
    EXPECT_FALSE(PtInRect(&rect, POINT{0, 480}));
    EXPECT_FALSE(PtInRect(&rect, POINT{-1, 10}));
    const RECT empty{5, 5, 5, 5};
    EXPECT_FALSE(PtInRect(&empty, POINT{5, 5}));
    EXPECT_FALSE(PtInRect(nullptr, POINT{0, 0}));
}

TEST_F(UserTest, IconsAndCursorsLoadByResourceNumber) {
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(0x400000);
    HICON icon = LoadIconA(instance, MAKEINTRESOURCEA(101));
    EXPECT_NE(icon, nullptr);
    EXPECT_EQ(LoadIconA(instance, MAKEINTRESOURCEA(101)), icon) << "the same resource, the same handle";
    EXPECT_NE(LoadCursorA(nullptr, IDC_ARROW), nullptr);
    EXPECT_EQ(LoadCursorA(nullptr, MAKEINTRESOURCEA(5)), nullptr) << "not a system cursor";
    EXPECT_EQ(LoadIconA(instance, "named"), nullptr) << "the program has no named resources";
}
