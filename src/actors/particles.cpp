#include "actors/particles.h"
#include "app/unbuilt.h"
float sinTable[256];
float cosTable[256];
void buildTrigTables() { QM_UNBUILT(); }
float tableSin(int32_t) { QM_UNBUILT(); }
float tableCos(int32_t) { QM_UNBUILT(); }
void Particle::spawn(int32_t, int32_t) { QM_UNBUILT(); }
void Particle::advance() { QM_UNBUILT(); }
void ParticleBurst::create(int32_t, int32_t, int32_t, int32_t) { QM_UNBUILT(); }
void ParticleBurst::update() { QM_UNBUILT(); }
bool ParticleBurst::draw(LPDIRECTDRAWSURFACE) { QM_UNBUILT(); }
