// The program: Windows starts it at WinMain (on other hosts, platform/'s main does).
#include <windows.h>

#include "app/startup.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    return runDemo(instance, showCommand);
}
