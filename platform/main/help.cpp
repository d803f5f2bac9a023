#include "help.h"

#include "core/launch.h"

namespace qmp {

std::string versionText() { return std::string("Quillmere Demo ") + QM_VERSION + "\n"; }

std::string helpText() {
    return std::string(
               "Usage: Quillmere [OPTION]... [-- ARGUMENT...]\n"
               "A full-screen 640 x 480, 256-colour graphics demo: a random cave, an explorer you steer,\n"
               "a hundred figures, a translucent minimap, palette fades and fireworks. Without a display it\n"
               "runs headless and plays its built-in tour. Arguments after -- go to the program itself.\n"
               "\n") +
           launchUsage() +
           "\n"
           "Keys:\n"
           "  Arrow keys            walk (\"Vec\" units a frame); in drive mode the explorer steers itself\n"
           "  Shift / Ctrl          \"Vec\" up / down by 2 (2 to 400); in drive mode throttle up / down\n"
           "  Space                 the explorer to a random open spot; the centre animation see-through / translucent\n"
           "  1 / 2                 a new random warm / cool palette\n"
           "  F1                    the debug read-out on / off\n"
           "  F2                    the minimap on / off\n"
           "  F3                    the centre-of-screen animation on / off\n"
           "  F4                    the minimap as translucent picture / filled outline\n"
           "  F5                    a new cave and a new scene\n"
           "  F6                    drive mode on / off\n"
           "  F7 / F8               fade in / fade out\n"
           "  F9                    fireworks on / off\n"
           "  Esc                   the quit prompt: Y quits, N goes on\n"
           "  Alt+Enter             full screen / window (window only)\n"
           "  F12 or Print Screen   a screenshot PNG in the folder the program was started in (window only)\n"
           "  F10                   start / stop a GIF recording (window only)\n"
           "\n"
           "Picture files:\n"
           "  bckgnd.bmp, Sprites.bmp and MsgWnd.bmp, palettized BMPs of 1, 4 or 8 bits (uncompressed or\n"
           "  RLE). They are read from the current folder; when it has none of them, from the folder of\n"
           "  the executable, then from the installed data folder (" QM_DATA_DIR "),\n"
           "  or from the folder named by --data. Which one is used is said on stderr.\n"
           "\n"
           "Exit codes:\n"
           "  0  the program ended (also after a start-up that failed with its message box; stderr says why)\n"
           "  1  the window that was asked for could not be opened\n"
           "  2  bad options, a script with an error, a --data, --shots or --record that cannot be used\n"
           "  3  headless, the program went on waiting after its script ran out and it was asked to close\n"
           "\n"
           "Environment:\n"
           "  DISPLAY, WAYLAND_DISPLAY  where the window opens; without either the program runs headless\n"
           "  QUILLMERE_HEADLESS=1      run headless even with a display\n"
           "  SDL_VIDEODRIVER           the SDL video driver for the window\n"
           "\n"
           "See Quillmere(6).\n";
}

}  // namespace qmp
