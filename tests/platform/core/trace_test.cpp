// Fault injection and the call log, through the USER and KERNEL32 calls.
#include <gmock/gmock.h>

#include <windows.h>
#include <mmsystem.h>

#include "support/platform_test.h"

using ::testing::ElementsAre;

namespace {

HANDLE openSelf() {
    // Any file that exists will do: the test program itself.
    return CreateFileA("/proc/self/exe", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
}

std::vector<std::string> loggedNames() {
    std::vector<std::string> names;
    for (const platform::CallRecord& call : platform::callLog()) names.push_back(call.name);
    return names;
}

LRESULT CALLBACK plainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

using TraceTest = PlatformTest;

TEST_F(TraceTest, TheNthCallFailsCountingOnlyCallsOfThatName) {
    platform::failCall("CreateFileA", 2);
    HANDLE first = openSelf();
    ASSERT_NE(first, INVALID_HANDLE_VALUE);
    char byte;
    DWORD read;
    ReadFile(first, &byte, 1, &read, nullptr);  // other calls do not count
    CloseHandle(first);
    EXPECT_EQ(openSelf(), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    HANDLE third = openSelf();
    EXPECT_NE(third, INVALID_HANDLE_VALUE) << "one failure per plan";
    CloseHandle(third);
}

TEST_F(TraceTest, APlannedErrorBecomesTheLastError) {
    platform::failCall("ReadFile", 1, ERROR_READ_FAULT);
    HANDLE file = openSelf();
    char byte;
    DWORD read = 7;
    EXPECT_FALSE(ReadFile(file, &byte, 1, &read, nullptr));
    EXPECT_EQ(read, 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_READ_FAULT));
    CloseHandle(file);
}

TEST_F(TraceTest, UserCallsFailWithTheirUsualValues) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = plainProc;
    windowClass.lpszClassName = "Traced";
    RegisterClassA(&windowClass);
    platform::failCall("CreateWindowExA", 1);
    EXPECT_EQ(CreateWindowExA(0, "Traced", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr), nullptr);
    HWND window = CreateWindowExA(0, "Traced", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);

    PostMessageA(window, WM_USER, 0, 0);
    platform::failCall("PeekMessageA", 1);
    platform::failCall("GetMessageA", 1);
    MSG msg{};
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(GetMessageA(&msg, nullptr, 0, 0), -1);
    EXPECT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) << "the failed calls took nothing";

    platform::failCall("MessageBoxA", 1);
    EXPECT_EQ(MessageBoxA(nullptr, "t", "c", MB_OK), 0);
    EXPECT_TRUE(platform::messageBoxes().empty());
    platform::failCall("DestroyWindow", 1);
    EXPECT_FALSE(DestroyWindow(window));
    EXPECT_TRUE(IsWindow(window));
}

TEST_F(TraceTest, CallsThatCannotFailIgnorePlans) {
    platform::setTime(321);
    platform::failCall("timeGetTime", 1);
    EXPECT_EQ(timeGetTime(), 321u);
}

TEST_F(TraceTest, TheCallLogRecordsNamesAndTimesWhileOn) {
    PtInRect(nullptr, POINT{});
    platform::setCallLogging(true);
    platform::setTime(10);
    timeGetTime();
    platform::setTime(20);
    lstrlenA("abc");
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);
    platform::setCallLogging(false);
    PtInRect(nullptr, POINT{});
    EXPECT_THAT(loggedNames(), ElementsAre("timeGetTime", "lstrlenA", "PeekMessageA"));
    EXPECT_EQ(platform::callLog()[0].time, 10u);
    EXPECT_EQ(platform::callLog()[2].time, 20u);
    platform::clearCallLog();
    EXPECT_TRUE(platform::callLog().empty());
}
