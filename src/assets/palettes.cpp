#include "assets/palettes.h"
#include "app/unbuilt.h"
void generateWarmPalette(PALETTEENTRY*) { QM_UNBUILT(); }
void generateCoolPalette(PALETTEENTRY*) { QM_UNBUILT(); }
bool applyPalettes() { QM_UNBUILT(); }
void stepFadeIn() { QM_UNBUILT(); }
void stepFadeOut() { QM_UNBUILT(); }
