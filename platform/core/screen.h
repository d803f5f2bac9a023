// The visible picture. DirectDraw marks it stale when the primary surface or
// its palette changes; the message loop calls refresh() once per turn, which
// takes a new picture from the primary surface and hands it to the backend.
#pragma once

#include <functional>

#include "core/picture.h"

namespace qmp::screen {

// Supplies the primary surface's picture; false when there is none (no display
// mode, surface lost). Registered by DirectDraw.
using PictureSource = std::function<bool(Picture&)>;
void setSource(PictureSource source);

void markStale();
bool isStale();

// Takes the picture and shows it, when stale. Called once per loop turn
// (PeekMessageA, GetMessageA, WaitMessage, MsgWaitForMultipleObjects) and
// before a message box opens.
void refresh();

// The picture last shown (empty before the first).
const Picture& current();

uint64_t presentCount();

}  // namespace qmp::screen
