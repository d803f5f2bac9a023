// The two passes of a frame: the update pass moves the world by one step, the
// draw pass composes the whole picture in the canvas and copies it to the back buffer.
#include "app/passes.h"

#include "actors/actors.h"
#include "actors/particles.h"
#include "app/clock.h"
#include "app/globals.h"
#include "app/keyboard.h"
#include "app/readout.h"
#include "assets/palettes.h"
#include "assets/sprite_strip.h"
#include "display/display.h"
#include "display/drawing.h"
#include "display/text.h"
#include "display/translucency.h"
#include "world/cave.h"

namespace {

constexpr COLORREF FIXED_ACTOR_DOT = 0x00FF0000;  // blue
constexpr COLORREF WANDERER_DOT = 0x00007D7D;     // olive
constexpr COLORREF PLAYER_DOT = 0x000000FF;       // red
constexpr COLORREF HUD_CYAN = 0x00FFFF00;
constexpr COLORREF HUD_RED = 0x000000FF;
constexpr int32_t CURSOR_WIDTH = 90;  // the frame size of the two five-frame strips
constexpr int32_t CURSOR_HEIGHT = 100;
constexpr int32_t CURSOR_LAST_FRAME = 4;
constexpr int32_t CURSOR_STEP_MS = 200;
constexpr int32_t HUD_LEFT = 5;

void moveDrivenPlayer() {
    if (!player.driveMode) return;
    if (throttleDirection != 0) player.throttle(throttleDirection * throttleStep);
    player.update();
}

void drawDot(LPDIRECTDRAWSURFACE surface, int32_t originX, int32_t originY, const FixedActor& actor,
             COLORREF colour) {
    fillCircle(surface, originX + Quillmere.worldToMinimapX(actor.x), originY + Quillmere.worldToMinimapY(actor.y), 1,
               colour);
}

// The centre-of-screen animation: standing on the screen's middle row.
void drawCursor(LPDIRECTDRAWSURFACE surface) {
    int32_t x = (screenWidth - CURSOR_WIDTH) / 2;
    int32_t y = screenHeight / 2 - CURSOR_HEIGHT;
    if (!cursorMarkSet) {
        cursorMark = gameClock.elapsed();
        cursorMarkSet = true;
    }
    if (switches.cursorStyle == 0) {
        if (cursorFrame < screenedStrip.frameCount()) screenedStrip.blitFrame(surface, x, y, cursorFrame);
    } else if (switches.cursorStyle == 1) {
        if (cursorFrame < fixedActorStrip.frameCount()) fixedActorStrip.blendFrame(surface, x, y, cursorFrame);
    }
    if (gameClock.intervalElapsed(cursorMark, CURSOR_STEP_MS))
        cursorFrame = cursorFrame + 1 > CURSOR_LAST_FRAME ? 0 : cursorFrame + 1;
}

// The debug read-out: five lines, one font height apart.
void drawReadout(LPDIRECTDRAWSURFACE surface) {
    static const COLORREF colours[READOUT_LINES] = {HUD_CYAN, HUD_CYAN, HUD_RED, HUD_RED, HUD_CYAN};
    ReadoutText text = formatReadout();
    for (int i = 0; i < READOUT_LINES; ++i)
        hudFont.drawText(text.lines[i], HUD_LEFT, (i + 1) * hudFont.height + 5, colours[i], surface);
}

// Fireworks mode: the current palette as a strip of overlapping dots along the top.
void drawPaletteDots(LPDIRECTDRAWSURFACE surface) {
    for (int i = 0; i < 256; ++i) {
        const PALETTEENTRY& entry = workingPalette[i];
        fillCircle(surface, 8 + 2 * i, 2, 2, RGB(entry.peRed, entry.peGreen, entry.peBlue));
    }
}

}  // namespace

void updatePass() {
    updateDirection();
    if (!switches.fireworksMode) {
        for (Wanderer& wanderer : wanderers) wanderer.update();
        moveDrivenPlayer();
    } else {
        moveDrivenPlayer();
        particleBurst.update();
    }
}

bool drawPass() {
    fillSurface(canvas, 0);
    if (!switches.fireworksMode) {
        if (!Quillmere.draw(canvas)) {
            MessageBoxA(nullptr, "Draw World Failed!", "Quillmere.draw..()", MB_OK);
            return false;
        }
        for (FixedActor& actor : fixedActors) actor.draw(canvas);
        for (Wanderer& wanderer : wanderers) wanderer.draw(canvas);
        player.draw(canvas);
        drawMinimapOverlay(canvas);
    } else {
        particleBurst.draw(canvas);
        smoothCanvas(canvas);
        smoothCanvas(canvas);
    }
    drawHud(canvas);
    backBuffer->BltFast(0, 0, canvas, nullptr, DDBLTFAST_WAIT);
    return true;
}

void drawMinimapOverlay(LPDIRECTDRAWSURFACE surface) {
    // Placed so that the view centre's minimap point falls on the screen centre.
    int32_t originX = screenWidth / 2 - Quillmere.worldToMinimapX(Quillmere.viewX);
    int32_t originY = screenHeight / 2 - Quillmere.worldToMinimapY(Quillmere.viewY);
    if (!Quillmere.minimapVisible) return;
    if (switches.minimapStyle != 0) {
        // The translucent copy clips, so a view outside the world shows the part that fits.
        Quillmere.drawMinimap(surface, originX, originY);
    } else {
        Quillmere.drawOutline(surface, originX, originY, true);
    }
    for (const FixedActor& actor : fixedActors) drawDot(surface, originX, originY, actor, FIXED_ACTOR_DOT);
    for (const Wanderer& wanderer : wanderers) drawDot(surface, originX, originY, wanderer, WANDERER_DOT);
    drawDot(surface, originX, originY, player, PLAYER_DOT);
}

void drawHud(LPDIRECTDRAWSURFACE surface) {
    if (switches.fireworksMode) {
        if (switches.hudVisible) drawPaletteDots(surface);
        return;
    }
    if (switches.cursorVisible) drawCursor(surface);
    if (switches.hudVisible) drawReadout(surface);
}
