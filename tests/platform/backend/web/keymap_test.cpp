// The page's keyboard: a browser's key codes to the virtual-key codes the
// program reads, and which keys the browser keeps for its own shortcuts.
#include <gtest/gtest.h>

#include <windows.h>

#include "backend/web/keymap.h"

using qmp::web::leaveToBrowser;
using qmp::web::virtualKeyOf;

TEST(WebKeymap, BrowserKeysGetTheirWindowsCodes) {
    struct Case {
        const char* code;
        const char* key;
        int virtualKey;
    };
    const Case cases[] = {
        {"ArrowLeft", "ArrowLeft", VK_LEFT}, {"ArrowDown", "ArrowDown", VK_DOWN}, {"ShiftRight", "Shift", VK_SHIFT},
        {"ControlLeft", "Control", VK_CONTROL}, {"AltRight", "AltGraph", VK_MENU}, {"Escape", "Escape", VK_ESCAPE},
        {"Space", " ", VK_SPACE}, {"NumpadEnter", "Enter", VK_RETURN}, {"F1", "F1", VK_F1}, {"F12", "F12", VK_F12},
        {"PrintScreen", "PrintScreen", VK_SNAPSHOT}, {"Digit1", "1", '1'}, {"Digit0", "à", '0'},
        {"KeyN", "n", 'N'}, {"KeyY", "Y", 'Y'},
        {"KeyY", "z", 'Z'},   // a German layout: the letter, not the place, as on Windows
        {"KeyQ", "й", 'Q'},   // no Latin letter there: the place names it
        {"F13", "F13", 0}, {"F0", "F0", 0}, {"Digit", "", 0}, {"KeyAB", "a", 0}, {"Numpad5", "5", 0}, {"", "", 0},
    };
    for (const Case& c : cases) EXPECT_EQ(virtualKeyOf(c.code, c.key), c.virtualKey) << c.code << " " << c.key;
}

TEST(WebKeymap, OnlyShortcutsStayWithTheBrowser) {
    EXPECT_TRUE(leaveToBrowser('R', true));   // Ctrl+R reloads
    EXPECT_TRUE(leaveToBrowser('1', true));
    EXPECT_FALSE(leaveToBrowser('R', false));
    EXPECT_FALSE(leaveToBrowser(VK_F5, false));  // F5 is the demo's, where the browser lets it go
    EXPECT_FALSE(leaveToBrowser(VK_LEFT, true));  // Ctrl and an arrow: the demo's throttle
}
