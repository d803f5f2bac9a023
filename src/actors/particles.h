// The fireworks: 2000 particles on turning headings, drawn as fading trails.
#pragma once

#include <windows.h>
#include <ddraw.h>

#include <cstdint>
#include <memory>

struct Particle {
    int32_t x = 0;
    int32_t y = 0;
    int32_t previousX = 0;
    int32_t previousY = 0;
    float speed = 0.0f;
    uint8_t angle = 0;
    uint8_t spin = 0;
    float life = 0.0f;
    float decay = 0.0f;

    void spawn(int32_t atX, int32_t atY);
    void advance();
};

struct ParticleBurst {
    std::unique_ptr<Particle[]> particles;
    int32_t count = 0;
    int32_t radius = 0;
    int32_t centreX = 0;
    int32_t centreY = 0;

    void create(int32_t cx, int32_t cy, int32_t newRadius, int32_t newCount);
    void update();
    bool draw(LPDIRECTDRAWSURFACE destination);
};

// Defined in app/globals.cpp, with every other global of the demo.
extern ParticleBurst particleBurst;
