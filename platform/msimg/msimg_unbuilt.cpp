#include <windows.h>
#include "core/unbuilt.h"
BOOL WINAPI AlphaBlend(HDC, int, int, int, int, HDC, int, int, int, int, BLENDFUNCTION) { QMP_UNBUILT(); }
