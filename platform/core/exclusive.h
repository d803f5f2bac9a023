// Exclusive full-screen mode: when the program loses the focus, the flip chain
// and every surface made without DDSCAPS_SYSTEMMEMORY are lost. USER reports
// the focus change; DirectDraw registers what losing means.
#pragma once

#include <functional>

namespace qmp::exclusive {

void setLossHandler(std::function<void()> handler);
// Runs the handler (nothing when DirectDraw has not registered one).
void loseSurfaces();

}  // namespace qmp::exclusive
