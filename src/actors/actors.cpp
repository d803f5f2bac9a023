#include "actors/actors.h"
#include "app/unbuilt.h"
bool FixedActor::init(SpriteStrip*, int32_t, int32_t, int32_t, int32_t) { QM_UNBUILT(); }
HRESULT FixedActor::draw(LPDIRECTDRAWSURFACE) { QM_UNBUILT(); }
void FixedActor::animate() { QM_UNBUILT(); }
HRESULT FixedActor::drawFrom(SpriteStrip*, LPDIRECTDRAWSURFACE) { QM_UNBUILT(); }
bool Wanderer::init(SpriteStrip* const[DIRECTION_COUNT], int32_t, int32_t, int32_t, int32_t, int32_t, int32_t) { QM_UNBUILT(); }
HRESULT Wanderer::draw(LPDIRECTDRAWSURFACE) { QM_UNBUILT(); }
void Wanderer::update() { QM_UNBUILT(); }
void Wanderer::setDirection(int32_t, int32_t) { QM_UNBUILT(); }
void Wanderer::moveByVelocity() { QM_UNBUILT(); }
void PlayerActor::update() { QM_UNBUILT(); }
void PlayerActor::throttle(int32_t) { QM_UNBUILT(); }
void PlayerActor::steer(int32_t, int32_t) { QM_UNBUILT(); }
void PlayerActor::teleport(int32_t, int32_t) { QM_UNBUILT(); }
bool CreateObjects() { QM_UNBUILT(); }
