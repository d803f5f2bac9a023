// The window's keyboard: SDL keys to the virtual-key codes the program reads,
// and, through the window backend's whole key path (SDL events in, messages
// out), the keys the platform keeps for itself.
#include <gmock/gmock.h>

#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "backend/sdl/keymap.h"
#include "core/launch.h"
#include "platform/user/test_window.h"

using ::testing::ElementsAre;
using qmp::sdl::virtualKeyOf;

namespace {

struct Named {
    SDL_Keycode sym;
    SDL_Scancode scancode;
    int virtualKey;
};

}  // namespace

TEST(SdlKeymap, TheProgramsKeysGetTheirWindowsCodes) {
    const Named keys[] = {
        {SDLK_LEFT, SDL_SCANCODE_LEFT, VK_LEFT},       {SDLK_RIGHT, SDL_SCANCODE_RIGHT, VK_RIGHT},
        {SDLK_UP, SDL_SCANCODE_UP, VK_UP},             {SDLK_DOWN, SDL_SCANCODE_DOWN, VK_DOWN},
        {SDLK_ESCAPE, SDL_SCANCODE_ESCAPE, VK_ESCAPE}, {SDLK_SPACE, SDL_SCANCODE_SPACE, VK_SPACE},
        {SDLK_RETURN, SDL_SCANCODE_RETURN, VK_RETURN}, {SDLK_KP_ENTER, SDL_SCANCODE_KP_ENTER, VK_RETURN},
        {SDLK_TAB, SDL_SCANCODE_TAB, VK_TAB},          {SDLK_BACKSPACE, SDL_SCANCODE_BACKSPACE, VK_BACK},
        {SDLK_F1, SDL_SCANCODE_F1, VK_F1},             {SDLK_F9, SDL_SCANCODE_F9, VK_F9},
        {SDLK_F11, SDL_SCANCODE_F11, VK_F11},          {SDLK_F12, SDL_SCANCODE_F12, VK_F12},
        {SDLK_PRINTSCREEN, SDL_SCANCODE_PRINTSCREEN, VK_SNAPSHOT}, {SDLK_1, SDL_SCANCODE_1, '1'},
        {SDLK_2, SDL_SCANCODE_2, '2'},                 {SDLK_0, SDL_SCANCODE_0, '0'},
        {SDLK_a, SDL_SCANCODE_A, 'A'},                 {SDLK_y, SDL_SCANCODE_Y, 'Y'},
        {SDLK_z, SDL_SCANCODE_Z, 'Z'},
    };
    for (const Named& k : keys) EXPECT_EQ(virtualKeyOf(k.sym, k.scancode), k.virtualKey) << SDL_GetKeyName(k.sym);
}

TEST(SdlKeymap, BothKeysOfAPairGiveTheGenericCode) {
    EXPECT_EQ(virtualKeyOf(SDLK_LSHIFT, SDL_SCANCODE_LSHIFT), VK_SHIFT);
    EXPECT_EQ(virtualKeyOf(SDLK_RSHIFT, SDL_SCANCODE_RSHIFT), VK_SHIFT);
    EXPECT_EQ(virtualKeyOf(SDLK_LCTRL, SDL_SCANCODE_LCTRL), VK_CONTROL);
    EXPECT_EQ(virtualKeyOf(SDLK_RCTRL, SDL_SCANCODE_RCTRL), VK_CONTROL);
    EXPECT_EQ(virtualKeyOf(SDLK_LALT, SDL_SCANCODE_LALT), VK_MENU);
    EXPECT_EQ(virtualKeyOf(SDLK_RALT, SDL_SCANCODE_RALT), VK_MENU);
}

TEST(SdlKeymap, OtherLayoutsKeepDigitsByPositionAndLettersByName) {
    // French layout: the digit row gives '&', 'é', ... unshifted; Windows still says '1', '2'.
    EXPECT_EQ(virtualKeyOf(SDLK_AMPERSAND, SDL_SCANCODE_1), '1');
    EXPECT_EQ(virtualKeyOf(0xE9, SDL_SCANCODE_2), '2');
    EXPECT_EQ(virtualKeyOf(SDLK_q, SDL_SCANCODE_A), 'Q') << "a letter is the one printed on the key";
    // Russian layout: letters that are not Latin fall back to the key's position.
    EXPECT_EQ(virtualKeyOf(0x0444, SDL_SCANCODE_A), 'A');
    EXPECT_EQ(virtualKeyOf(0x043D, SDL_SCANCODE_Y), 'Y');
}

TEST(SdlKeymap, KeysTheProgramDoesNotKnowAreDropped) {
    EXPECT_EQ(virtualKeyOf(SDLK_HOME, SDL_SCANCODE_HOME), 0);
    EXPECT_EQ(virtualKeyOf(SDLK_KP_1, SDL_SCANCODE_KP_1), 0) << "the keypad's digits are not the digit row's";
    EXPECT_EQ(virtualKeyOf(SDLK_MINUS, SDL_SCANCODE_MINUS), 0);
    EXPECT_EQ(virtualKeyOf(SDLK_CAPSLOCK, SDL_SCANCODE_CAPSLOCK), 0);
    EXPECT_EQ(virtualKeyOf(SDLK_F13, SDL_SCANCODE_F13), 0);
}

// The window backend on SDL's dummy driver, fed SDL key events; the
// program's window records what arrives.
class SdlKeyPath : public UserTest {
protected:
    void SetUp() override {
        UserTest::SetUp();
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        qmp::LaunchOptions options;
        options.windowed = true;
        std::unique_ptr<qmp::Backend> window = qmp::makeWindowBackend(options);
        if (!window) GTEST_SKIP() << "no SDL window on the dummy driver";
        qmp::setBackend(std::move(window));
        window_ = makeWindow();
    }

public:
    // Sends SDL key events: "+" presses, "-" releases, "*" is SDL's own repeat.
    static void key(char what, SDL_Keycode sym, SDL_Scancode scancode, Uint16 modifiers = KMOD_NONE) {
        SDL_Event event{};
        event.type = what == '-' ? SDL_KEYUP : SDL_KEYDOWN;
        event.key.state = what == '-' ? SDL_RELEASED : SDL_PRESSED;
        event.key.repeat = what == '*' ? 1 : 0;
        event.key.keysym.sym = sym;
        event.key.keysym.scancode = scancode;
        event.key.keysym.mod = modifiers;
        SDL_PushEvent(&event);
    }

protected:
    // The key messages that reached the window, as "down 113" / "up 113" ("repeat"
    // when bit 30 is set on a down), and "close" for WM_CLOSE.
    std::vector<std::string> arrived() {
        std::vector<std::string> keys;
        for (const MSG& msg : drainQueue()) {
            if (msg.message == WM_CLOSE) keys.push_back("close");
            if (msg.message != WM_KEYDOWN && msg.message != WM_KEYUP) continue;
            const bool repeat = msg.message == WM_KEYDOWN && (msg.lParam & (1 << 30)) != 0;
            keys.push_back(std::string(msg.message == WM_KEYUP ? "up " : repeat ? "repeat " : "down ") +
                           std::to_string(msg.wParam));
        }
        return keys;
    }

    HWND window_ = nullptr;
};

TEST_F(SdlKeyPath, TheHostsOwnRepeatsAreIgnored) {
    key('+', SDLK_F2, SDL_SCANCODE_F2);
    key('*', SDLK_F2, SDL_SCANCODE_F2);
    key('-', SDLK_F2, SDL_SCANCODE_F2);
    key('*', SDLK_LSHIFT, SDL_SCANCODE_LSHIFT, KMOD_LSHIFT);  // a repeat without its press: not held
    key('+', SDLK_HOME, SDL_SCANCODE_HOME);                   // no code: dropped
    EXPECT_THAT(arrived(), ElementsAre("down 113", "up 113", "down 16"));
}

// The platform's repeats on the (virtual) clock: at `ms` the SDL events of
// `keys` go in ("+X" press, "-X" release, "*X" the host's repeat, "blur" the
// focus leaves); every millisecond what arrived is noted as "ms down|repeat*N|up KEY".
struct Step {
    uint32_t ms;
    const char* keys;
};
std::vector<std::string> repeatsOver(const std::vector<Step>& steps, uint32_t until, bool pumpEveryMs = true) {
    std::vector<std::string> seen;
    const uint32_t start = platform::now();
    size_t next = 0;
    for (uint32_t t = 0; t <= until; ++t) {
        platform::setTime(start + t);
        const bool stepped = next < steps.size() && steps[next].ms == t;
        for (; next < steps.size() && steps[next].ms == t; ++next) {
            const std::string what = steps[next].keys;
            if (what == "blur") {
                SDL_Event blur{};
                blur.type = SDL_WINDOWEVENT;
                blur.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
                SDL_PushEvent(&blur);
                continue;
            }
            const bool shift = what[1] == 'S';
            SdlKeyPath::key(what[0], shift ? SDLK_LSHIFT : SDLK_RIGHT, shift ? SDL_SCANCODE_LSHIFT : SDL_SCANCODE_RIGHT);
        }
        if (!pumpEveryMs && !stepped && t != until) continue;
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message != WM_KEYDOWN && msg.message != WM_KEYUP) continue;
            const unsigned count = static_cast<unsigned>(msg.lParam & 0xFFFF);
            const bool previous = (msg.lParam & (1 << 30)) != 0;
            std::string kind = msg.message == WM_KEYUP ? "up"
                               : previous            ? "repeat*" + std::to_string(count)
                                                     : "down";
            seen.push_back(std::to_string(t) + " " + kind + " " + (msg.wParam == VK_SHIFT ? "Shift" : "Right"));
        }
    }
    return seen;
}

TEST_F(SdlKeyPath, AHeldKeyRepeatsAfterHalfASecondThirtyTimesASecond) {
    const std::vector<std::string> seen = repeatsOver({{0, "+S"}, {100, "*S"}, {1500, "-S"}}, 1600);
    std::vector<std::string> expected = {"0 down Shift"};
    for (uint32_t n = 0; n <= 30; ++n) expected.push_back(std::to_string(500 + n * 100 / 3) + " repeat*1 Shift");
    expected.push_back("1500 up Shift");
    EXPECT_EQ(seen, expected) << "Shift repeats like any key; SDL's repeat at 100 ms is not one";
}

TEST_F(SdlKeyPath, OnlyTheKeyPressedLastRepeats) {
    EXPECT_THAT(repeatsOver({{0, "+S"}, {400, "+R"}, {950, "-R"}, {1000, "-S"}}, 1100),
                ElementsAre("0 down Shift", "400 down Right", "900 repeat*1 Right", "933 repeat*1 Right",
                            "950 up Right", "1000 up Shift"))
        << "Right took over from Shift and its release stops the repeats";
    EXPECT_THAT(repeatsOver({{0, "+R"}, {520, "blur"}, {700, "-R"}}, 800),
                ElementsAre("0 down Right", "500 repeat*1 Right", "700 up Right"))
        << "losing the focus stops them";
}

TEST_F(SdlKeyPath, RepeatsThatFellDueWhileTheProgramWasBusyComeAsOneMessage) {
    EXPECT_THAT(repeatsOver({{0, "+R"}}, 600, false), ElementsAre("0 down Right", "600 repeat*4 Right"))
        << "500, 533, 566 and 600 ms";
}

TEST_F(SdlKeyPath, ScreenshotKeysAreKeptFromTheProgram) {
    const auto folder = std::filesystem::temp_directory_path() / "qm-keypath-shots";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(folder);
    key('+', SDLK_F12, SDL_SCANCODE_F12);
    key('*', SDLK_F12, SDL_SCANCODE_F12);  // held down: one picture
    key('-', SDLK_F12, SDL_SCANCODE_F12);
    key('+', SDLK_PRINTSCREEN, SDL_SCANCODE_PRINTSCREEN);
    key('-', SDLK_PRINTSCREEN, SDL_SCANCODE_PRINTSCREEN);
    key('+', SDLK_F12, SDL_SCANCODE_F12, KMOD_LSHIFT);
    key('-', SDLK_F12, SDL_SCANCODE_F12);
    EXPECT_THAT(arrived(), ElementsAre());
    std::filesystem::current_path(previous);
    std::filesystem::remove_all(folder);
}

TEST_F(SdlKeyPath, AltEnterTogglesTheScreenAndItsEnterNeverArrives) {
    key('+', SDLK_LALT, SDL_SCANCODE_LALT, KMOD_LALT);
    key('+', SDLK_RETURN, SDL_SCANCODE_RETURN, KMOD_LALT);
    key('*', SDLK_RETURN, SDL_SCANCODE_RETURN, KMOD_LALT);  // one toggle per press
    key('-', SDLK_LALT, SDL_SCANCODE_LALT);                 // Alt let go before Enter:
    key('*', SDLK_RETURN, SDL_SCANCODE_RETURN);             // the Enter still belongs to the toggle
    key('-', SDLK_RETURN, SDL_SCANCODE_RETURN);
    key('+', SDLK_RETURN, SDL_SCANCODE_RETURN);  // the next Enter is the program's again
    key('-', SDLK_RETURN, SDL_SCANCODE_RETURN);
    key('+', SDLK_KP_ENTER, SDL_SCANCODE_KP_ENTER, KMOD_RALT);
    key('-', SDLK_KP_ENTER, SDL_SCANCODE_KP_ENTER);
    EXPECT_THAT(arrived(), ElementsAre("down 18", "up 18", "down 13", "up 13"));
}

TEST_F(SdlKeyPath, AltF4ClosesAndPlainF4IsTheProgramsKey) {
    key('+', SDLK_F4, SDL_SCANCODE_F4);
    key('-', SDLK_F4, SDL_SCANCODE_F4);
    key('+', SDLK_F4, SDL_SCANCODE_F4, KMOD_RALT);
    key('-', SDLK_F4, SDL_SCANCODE_F4);
    key('+', SDLK_F4, SDL_SCANCODE_F4, KMOD_LCTRL);  // only Alt makes it close
    key('-', SDLK_F4, SDL_SCANCODE_F4);
    EXPECT_THAT(arrived(), ElementsAre("down 115", "up 115", "close", "down 115", "up 115"));
}

// The window's box is core's: keys and clicks from SDL answer it, a scripted
// answer comes first, and the close button gives the default and WM_CLOSE.
TEST_F(SdlKeyPath, AnOpenBoxTakesTheHostsKeysClicksAndCloseButton) {
    key('+', SDLK_TAB, SDL_SCANCODE_TAB);  // the focus to No, which Enter presses
    key('-', SDLK_TAB, SDL_SCANCODE_TAB);
    key('+', SDLK_RETURN, SDL_SCANCODE_RETURN);
    EXPECT_EQ(MessageBoxA(window_, "text", "caption", MB_YESNO), IDNO);
    key('-', SDLK_RETURN, SDL_SCANCODE_RETURN);

    SDL_Event click{};
    click.type = SDL_MOUSEBUTTONDOWN;
    click.button.button = SDL_BUTTON_LEFT;
    click.button.x = click.button.y = 1;  // off every button
    SDL_PushEvent(&click);
    click.type = SDL_MOUSEBUTTONUP;
    SDL_PushEvent(&click);
    key('+', 'y', SDL_SCANCODE_Y);
    EXPECT_EQ(MessageBoxA(window_, "text", "caption", MB_YESNO), IDYES);
    key('-', 'y', SDL_SCANCODE_Y);

    SDL_Event close{};
    close.type = SDL_WINDOWEVENT;
    close.window.event = SDL_WINDOWEVENT_CLOSE;
    SDL_PushEvent(&close);
    EXPECT_EQ(MessageBoxA(window_, "text", "caption", MB_OKCANCEL), IDCANCEL);
    ASSERT_TRUE(platform::loadScript("0 answer ok\n", nullptr, platform::now()));
    EXPECT_EQ(MessageBoxA(window_, "text", "caption", MB_OKCANCEL), IDOK);
    EXPECT_THAT(arrived(), ElementsAre("close")) << "the boxes took every key, releases included";
}
