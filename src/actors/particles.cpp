// The fireworks: particles on turning headings, reborn near the view centre,
// drawn as trails that darken and thin as they age.
#include "actors/particles.h"

#include <new>

#include "actors/actors.h"
#include "actors/trig_tables.h"
#include "app/clock.h"
#include "assets/palettes.h"
#include "display/drawing.h"
#include "world/cave.h"

void Particle::spawn(int32_t atX, int32_t atY) {
    x = previousX = atX;
    y = previousY = atY;
    speed = static_cast<float>(gameRandom.range(10, 20));
    angle = static_cast<uint8_t>(gameRandom.range(0, 255));
    spin = static_cast<uint8_t>(gameRandom.range(1, 10));
    life = 1.0f;
    decay = static_cast<float>(gameRandom.range(1, 20)) * 0.01f;  // float32 arithmetic throughout
}

void Particle::advance() {
    if (!(life > 0.0f)) return;
    previousX = x;
    previousY = y;
    x += static_cast<int32_t>(tableCos(angle) * speed);
    y += static_cast<int32_t>(tableSin(angle) * speed);
    life = life - decay;
    angle = static_cast<uint8_t>(angle + spin);
}

void ParticleBurst::create(int32_t cx, int32_t cy, int32_t newRadius, int32_t newCount) {
    particles.reset();
    count = 0;
    if (newCount > 0) {
        particles.reset(new (std::nothrow) Particle[static_cast<size_t>(newCount)]);
        if (particles) count = newCount;
    }
    centreX = cx;
    centreY = cy;
    radius = newRadius;
    for (int32_t i = 0; i < count; ++i) {
        int32_t bornY = gameRandom.range(centreY - radius, centreY + radius);
        int32_t bornX = gameRandom.range(centreX - radius, centreX + radius);
        particles[i].spawn(bornX, bornY);
    }
}

void ParticleBurst::update() {
    centreX = Quillmere.viewX;
    centreY = Quillmere.viewY;
    for (int32_t i = 0; i < count; ++i) {
        Particle& particle = particles[i];
        particle.advance();
        if (particle.life > 0.0f) continue;
        // Reborn in the same step, so no particle is ever drawn dead.
        int32_t bornY = gameRandom.range(centreY - radius, centreY + radius);
        int32_t bornX = gameRandom.range(centreX - radius, centreX + radius);
        particle.spawn(bornX, bornY);
    }
}

bool ParticleBurst::draw(LPDIRECTDRAWSURFACE destination) {
    // The lock only tells whether the surface is available: GDI cannot draw
    // into a surface that is held locked, so it is released before the lines.
    DDSURFACEDESC description{};
    description.dwSize = sizeof(DDSURFACEDESC);
    if (destination == nullptr || FAILED(destination->Lock(nullptr, &description, DDLOCK_WAIT, nullptr)))
        return false;
    destination->Unlock(nullptr);

    for (int32_t i = 0; i < count; ++i) {
        const Particle& particle = particles[i];
        POINT from = {Quillmere.worldToScreenX(particle.previousX), Quillmere.worldToScreenY(particle.previousY)};
        if (!PtInRect(&visibleRect, from)) continue;
        int32_t shade = static_cast<int32_t>(particle.life * 255.0);
        if (shade < 0) shade = 0;
        if (shade > 255) shade = 255;
        const PALETTEENTRY& entry = workingPalette[shade];
        COLORREF colour = RGB(entry.peRed, entry.peGreen, entry.peBlue);
        drawLine(destination, from.x, from.y, Quillmere.worldToScreenX(particle.x),
                 Quillmere.worldToScreenY(particle.y), shade >> 5, colour);
    }
    return true;
}
