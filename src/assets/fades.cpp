// The palette of the current mode, and the fades of the displayed palette.
// Only primaryPalette is scaled; backPalette keeps the full colours.
#include "assets/fades.h"

#include "assets/bitmap.h"
#include "assets/palettes.h"
#include "display/display.h"

void showOnScreen(const PALETTEENTRY* colours) {
    PALETTEENTRY copy[256];
    for (int i = 0; i < 256; ++i) copy[i] = colours[i];
    if (primaryPalette) primaryPalette->SetEntries(0, 0, 256, copy);
    if (canvasPalette) canvasPalette->SetEntries(0, 0, 256, copy);
}

bool applyPalettes(bool fireworksMode) {
    if (fireworksMode) {
        showOnScreen(workingPalette);
        if (backPalette) backPalette->SetEntries(0, 0, 256, workingPalette);
        return true;
    }
    if (canvasPalette) backgroundImage.applyPaletteTo(canvasPalette);
    if (!backgroundImage.applyPaletteTo(primaryPalette)) return false;
    return backgroundImage.applyPaletteTo(backPalette);
}

namespace {

struct FadeBuffers {
    PALETTEENTRY shown[256] = {};  // the displayed palette, as read
    PALETTEENTRY full[256] = {};   // the full colours it is scaled from
};

FadeBuffers readPalettes() {
    FadeBuffers buffers;
    if (primaryPalette) primaryPalette->GetEntries(0, 0, 256, buffers.shown);
    if (backPalette) backPalette->GetEntries(0, 0, 256, buffers.full);
    return buffers;
}

// Each channel of the full colours times the level, truncated; the flags stay
// as the displayed palette had them. The canvas keeps the full colours, so
// that GDI picks the same entries all through the fade and the frame's
// drawings fade with the picture.
void showScaled(FadeBuffers& buffers, float level) {
    for (int i = 0; i < 256; ++i) {
        buffers.shown[i].peRed = static_cast<BYTE>(buffers.full[i].peRed * level);
        buffers.shown[i].peGreen = static_cast<BYTE>(buffers.full[i].peGreen * level);
        buffers.shown[i].peBlue = static_cast<BYTE>(buffers.full[i].peBlue * level);
    }
    if (primaryPalette) primaryPalette->SetEntries(0, 0, 256, buffers.shown);
    if (canvasPalette) canvasPalette->SetEntries(0, 0, 256, buffers.full);
}

}  // namespace

// With a step of 1/60 in float32 the fade shows 60 levels and ends at the 61st
// step with the mode's full palette; the level goes back to its start value.
bool stepFadeIn(bool fireworksMode) {
    FadeBuffers buffers = readPalettes();
    float sum = fadeInLevel + fadeInStep;
    fadeInLevel = sum;
    if (sum >= 1.0f) {
        applyPalettes(fireworksMode);
        fadeInLevel = 0.0f;
        return true;
    }
    showScaled(buffers, fadeInLevel);
    return false;
}

bool stepFadeOut(bool fireworksMode) {
    FadeBuffers buffers = readPalettes();
    float difference = fadeOutLevel - fadeOutStep;
    fadeOutLevel = difference;
    if (difference < 0.0f) {
        applyPalettes(fireworksMode);
        fadeOutLevel = 1.0f;
        return true;
    }
    showScaled(buffers, fadeOutLevel);
    return false;
}
