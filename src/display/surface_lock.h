// Whole-surface locks for the copies that read and write surface memory
// directly. The lock reports the base pointer, the pitch and the size, which
// the copies check their rectangles against.
#pragma once

#include <windows.h>
#include <ddraw.h>

// Locks the whole surface, waiting while it is busy. A null surface fails like
// a surface that cannot be locked.
inline HRESULT lockWholeSurface(LPDIRECTDRAWSURFACE surface, DDSURFACEDESC& desc) {
    desc = DDSURFACEDESC{};
    desc.dwSize = sizeof(DDSURFACEDESC);
    if (!surface) return DDERR_INVALIDOBJECT;
    return surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr);
}

inline HRESULT unlockWholeSurface(LPDIRECTDRAWSURFACE surface) { return surface->Unlock(nullptr); }

inline unsigned char* surfaceBytes(const DDSURFACEDESC& desc) { return static_cast<unsigned char*>(desc.lpSurface); }
