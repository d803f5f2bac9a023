// Message boxes, headless: answered by `answer` events, by keys, by default;
// events on the way happen; every box is recorded with its decoded texts.
#include <gmock/gmock.h>

#include <filesystem>

#include "core/exclusive.h"
#include "core/screen.h"
#include "core/script.h"
#include "platform/user/test_window.h"

using ::testing::ElementsAre;

namespace {

// "ESC 鍵按下了！確定退出？" in code page 950, as the demo's quit prompt passes it.
const char kQuitPromptBig5[] = "ESC \xC1\xE4\xAB\xF6\xA4\x55\xA4\x46\xA1\x49\xBD\x54\xA9\x77\xB0\x68\xA5\x58\xA1\x48";

int ask(unsigned type) { return MessageBoxA(nullptr, "Question", "Caption", type); }

}  // namespace

class MessageBoxTest : public UserTest {
protected:
    void TearDown() override {
        qmp::exclusive::setLossHandler(nullptr);
        qmp::screen::setSource(nullptr);
        UserTest::TearDown();
    }
};

TEST_F(MessageBoxTest, AnAnswerEventAnswersTheBoxAtItsTime) {
    platform::setTime(100);
    ASSERT_TRUE(platform::loadScript("300 answer yes\n", nullptr));
    EXPECT_EQ(ask(MB_YESNO), IDYES);
    EXPECT_EQ(platform::now(), 300u);
    ASSERT_EQ(platform::messageBoxes().size(), 1u);
    const platform::MessageBoxRecord& box = platform::messageBoxes()[0];
    EXPECT_EQ(box.time, 100u) << "recorded when it opened";
    EXPECT_EQ(box.caption, "Caption");
    EXPECT_EQ(box.text, "Question");
    EXPECT_EQ(box.type, static_cast<unsigned>(MB_YESNO));
    EXPECT_EQ(box.answer, IDYES);
}

TEST_F(MessageBoxTest, AnAnswerThatCameBeforeTheBoxWaitsForIt) {
    makeWindow();
    // Esc and its answer at the same time: the answer arrives before the box opens.
    ASSERT_TRUE(platform::loadScript("200 press Esc\n200 answer no\n", nullptr));
    MSG msg{};
    ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.wParam, static_cast<WPARAM>(VK_ESCAPE));
    EXPECT_EQ(platform::pendingEvents(), 0u);
    EXPECT_EQ(ask(MB_YESNO), IDNO);
    EXPECT_EQ(platform::now(), 200u);
    EXPECT_EQ(ask(MB_YESNO), IDNO) << "each answer serves one box; this one got the default";
}

TEST_F(MessageBoxTest, KeysAnswerTheBoxAndNeverReachTheWindow) {
    makeWindow();
    ASSERT_TRUE(platform::loadScript("100 press A\n200 press N\n300 press Y\n", nullptr));
    EXPECT_EQ(ask(MB_YESNO), IDNO);
    EXPECT_EQ(platform::now(), 200u);
    EXPECT_EQ(ask(MB_YESNO), IDYES) << "the second box took N's key-up on its way to Y";
    EXPECT_EQ(platform::now(), 300u);
    // Y's key-up is still to come; the box took every other key.
    std::vector<MSG> queue = drainQueue();
    ASSERT_EQ(queue.size(), 1u);
    EXPECT_EQ(queue[0].message, static_cast<UINT>(WM_KEYUP));
    EXPECT_EQ(queue[0].wParam, static_cast<WPARAM>('Y'));
}

TEST_F(MessageBoxTest, EnterPicksTheDefaultButtonAndEscCancels) {
    ASSERT_TRUE(platform::loadScript(
        "10 down Enter\n20 down Enter\n30 down Esc\n40 down Esc\n50 down Y\n60 down Enter\n", nullptr));
    EXPECT_EQ(ask(MB_YESNO), IDYES);
    EXPECT_EQ(ask(MB_OK), IDOK);
    EXPECT_EQ(ask(MB_OKCANCEL), IDCANCEL);
    EXPECT_EQ(ask(MB_YESNO), IDNO) << "a Yes/No box takes Esc as No";
    // Y means nothing to an OK box: it waits on for Enter.
    EXPECT_EQ(ask(MB_OK), IDOK);
    EXPECT_EQ(platform::now(), 60u);
}

TEST_F(MessageBoxTest, WithNothingLeftToAnswerItABoxGetsItsDefaultAtOnce) {
    int losses = 0;
    qmp::exclusive::setLossHandler([&] { ++losses; });
    ASSERT_TRUE(platform::loadScript("500 lose\n600 press A\n", nullptr));
    EXPECT_EQ(ask(MB_OK), IDOK);
    EXPECT_EQ(ask(MB_YESNO), IDNO);
    EXPECT_EQ(ask(MB_OKCANCEL), IDCANCEL);
    EXPECT_EQ(platform::now(), 0u) << "the clock did not move";
    EXPECT_EQ(platform::pendingEvents(), 3u) << "and nothing was used up";
    EXPECT_EQ(losses, 0);
}

TEST_F(MessageBoxTest, EventsOnTheWayToTheAnswerHappen) {
    int losses = 0;
    qmp::exclusive::setLossHandler([&] { ++losses; });
    HWND window = makeWindow();
    ASSERT_TRUE(platform::loadScript("100 lose\n150 deactivate\n200 answer ok\n", nullptr));
    EXPECT_EQ(ask(MB_OK), IDOK);
    EXPECT_EQ(losses, 2);
    std::vector<MSG> queue = drainQueue();
    ASSERT_EQ(queue.size(), 1u) << "focus changes wait in the queue for the loop";
    EXPECT_EQ(queue[0].hwnd, window);
    EXPECT_EQ(queue[0].message, static_cast<UINT>(WM_ACTIVATEAPP));
}

TEST_F(MessageBoxTest, CapturesWhileABoxIsOpenShowWhatWasDrawnBeforeIt) {
    std::filesystem::path shots = std::filesystem::temp_directory_path() / "qm-box-captures";
    std::filesystem::remove_all(shots);
    qmp::script::setShotsDir(shots.string());
    uint8_t shade = 10;
    qmp::screen::setSource([&](qmp::Picture& picture) {
        picture.width = 4;
        picture.height = 2;
        picture.indices.assign(8, 1);
        picture.palette[1] = PALETTEENTRY{shade, shade, shade, 0};
        return true;
    });
    qmp::screen::markStale();
    ASSERT_TRUE(platform::loadScript("100 capture prompt.png\n200 answer yes\n", nullptr));
    EXPECT_EQ(ask(MB_YESNO), IDYES);
    ASSERT_EQ(qmp::script::captures().size(), 1u);
    EXPECT_EQ(qmp::script::captures()[0].time, 100u);
    EXPECT_EQ(qmp::script::captures()[0].path, (shots / "prompt.png").string());
    EXPECT_TRUE(std::filesystem::exists(shots / "prompt.png"));
    EXPECT_EQ(platform::presentCount(), 1u) << "the box renewed the stale screen when it opened";
    std::filesystem::remove_all(shots);
}

TEST_F(MessageBoxTest, EndAnswersTheOpenBoxWithItsDefaultAndClosesTheWindow) {
    HWND window = makeWindow();
    ASSERT_TRUE(platform::loadScript("100 end\n200 answer yes\n", nullptr));
    EXPECT_EQ(ask(MB_YESNO), IDNO);
    EXPECT_EQ(platform::now(), 100u);
    std::vector<MSG> queue = drainQueue();
    ASSERT_EQ(queue.size(), 1u);
    EXPECT_EQ(queue[0].hwnd, window);
    EXPECT_EQ(queue[0].message, static_cast<UINT>(WM_CLOSE));
}

TEST_F(MessageBoxTest, AnAnswerTheBoxDoesNotOfferGivesItsDefault) {
    ASSERT_TRUE(platform::loadScript("10 answer yes\n20 answer cancel\n", nullptr));
    EXPECT_EQ(ask(MB_OK), IDOK);
    EXPECT_EQ(ask(MB_YESNO), IDNO);
}

TEST_F(MessageBoxTest, TextsAreDecodedFromBig5) {
    HWND window = makeWindow();
    EXPECT_EQ(MessageBoxA(window, kQuitPromptBig5, "Keyboard", MB_YESNO), IDNO);
    ASSERT_EQ(platform::messageBoxes().size(), 1u);
    EXPECT_EQ(platform::messageBoxes()[0].text, "ESC 鍵按下了！確定退出？");
    EXPECT_EQ(platform::messageBoxes()[0].caption, "Keyboard");
}

TEST_F(MessageBoxTest, BadOwnersAndUnofferedTypesFailWithoutARecord) {
    EXPECT_EQ(MessageBoxA(reinterpret_cast<HWND>(0x77), "t", "c", MB_OK), 0);
    EXPECT_EQ(MessageBoxA(nullptr, "t", "c", 2 /* MB_ABORTRETRYIGNORE */), 0);
    EXPECT_TRUE(platform::messageBoxes().empty());
    EXPECT_EQ(MessageBoxA(nullptr, nullptr, nullptr, MB_OK), IDOK);
    EXPECT_EQ(platform::messageBoxes().back().caption, "Error") << "Windows' caption when none is given";
}

// The shape of the demo's loop, start to end: frames while idle, Esc opens the
// quit prompt, yes destroys the window, WM_DESTROY posts the quit.
TEST_F(MessageBoxTest, AQuitPromptAnsweredYesEndsAMessageLoop) {
    int frames = 0;
    messageHook() = [&](HWND window, UINT message, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
        if (message == WM_KEYDOWN && wParam == VK_ESCAPE &&
            MessageBoxA(window, kQuitPromptBig5, "Keyboard", MB_YESNO) == IDYES)
            DestroyWindow(window);
        if (message == WM_DESTROY) PostQuitMessage(0);
        return std::nullopt;
    };
    makeWindow(WS_POPUP | WS_MAXIMIZE);
    ASSERT_TRUE(platform::loadScript("1000 press Esc\n1100 answer no\n2000 press Esc\n2050 answer yes\n", nullptr));
    MSG msg{};
    int exitCode = -1;
    for (;;) {
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!GetMessageA(&msg, nullptr, 0, 0)) {
                exitCode = static_cast<int>(msg.wParam);
                break;
            }
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        } else {
            ++frames;
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        }
    }
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(platform::now(), 2050u);
    EXPECT_EQ(frames, 190) << "a frame every 10 ms, none while the first box was open (1000 to 1100)";
    ASSERT_EQ(platform::messageBoxes().size(), 2u);
    EXPECT_EQ(platform::messageBoxes()[0].answer, IDNO);
    EXPECT_EQ(platform::messageBoxes()[0].time, 1000u);
    EXPECT_EQ(platform::messageBoxes()[1].answer, IDYES);
    EXPECT_EQ(platform::messageBoxes()[1].time, 2000u);
}

TEST_F(MessageBoxTest, RecordsStopAtTheirLimitWhileEveryBoxIsCounted) {
    const size_t shown = platform::kMessageBoxRecordLimit + 5;
    for (size_t i = 0; i < shown; ++i) MessageBoxA(nullptr, i == 0 ? "first" : "later", "Caption", MB_OK);
    EXPECT_EQ(platform::messageBoxCount(), shown);
    ASSERT_EQ(platform::messageBoxes().size(), platform::kMessageBoxRecordLimit);
    EXPECT_EQ(platform::messageBoxes().front().text, "first");
    platform::reset();
    EXPECT_EQ(platform::messageBoxCount(), 0u);
    EXPECT_TRUE(platform::messageBoxes().empty());
}
