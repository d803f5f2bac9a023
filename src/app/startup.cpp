#include "app/startup.h"
#include "app/unbuilt.h"
const char* const STARTUP_FAILED_TEXT = "Game initial Failed!";
int runDemo(HINSTANCE, int) { QM_UNBUILT(); }
HWND createMainWindow(const char*, HINSTANCE) { QM_UNBUILT(); }
bool LoadImages() { QM_UNBUILT(); }
bool DrawImageToSurfaces() { QM_UNBUILT(); }
void fillSmoothingTable() { QM_UNBUILT(); }
int runMessageLoop() { QM_UNBUILT(); }
bool runFrame() { QM_UNBUILT(); }
bool present() { QM_UNBUILT(); }
bool restoreSurfaces() { QM_UNBUILT(); }
void releaseDisplay() { QM_UNBUILT(); }
LRESULT CALLBACK windowProc(HWND, UINT, WPARAM, LPARAM) { QM_UNBUILT(); }
void resizeWindow(HWND) { QM_UNBUILT(); }
