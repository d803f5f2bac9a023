// The program: Windows starts it at WinMain (on other hosts, platform/'s main
// does). It has no header: nothing but the system calls WinMain.
#include <windows.h>

#include "app/startup.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    return runDemo(instance, showCommand);
}
