#include "app/passes.h"
#include "app/unbuilt.h"
void updatePass() { QM_UNBUILT(); }
bool drawPass() { QM_UNBUILT(); }
void drawMinimapOverlay(LPDIRECTDRAWSURFACE) { QM_UNBUILT(); }
void drawHud(LPDIRECTDRAWSURFACE) { QM_UNBUILT(); }
