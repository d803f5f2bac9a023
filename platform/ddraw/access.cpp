// Surface (ddraw/objects.h): direct access to its bytes, the locks and the
// device contexts GDI draws through.
#include "core/dc.h"
#include "core/trace.h"
#include "ddraw/objects.h"

namespace qmp::ddraw {

HRESULT Surface::Lock(LPRECT lpDestRect, LPDDSURFACEDESC lpDDSurfaceDesc, DWORD /*dwFlags*/, HANDLE hEvent) {
    QMP_TRACE_HRESULT("IDirectDrawSurface::Lock", DDERR_GENERIC);
    if (lpDDSurfaceDesc == nullptr || lpDDSurfaceDesc->dwSize != sizeof(DDSURFACEDESC) || hEvent != nullptr)
        return DDERR_INVALIDPARAMS;
    if (lost_) return DDERR_SURFACELOST;
    if (busy()) return DDERR_SURFACEBUSY;
    uint8_t* start = pixels_.get();
    if (lpDestRect != nullptr) {
        const RECT& r = *lpDestRect;
        if (r.left < 0 || r.top < 0 || r.left > r.right || r.top > r.bottom || r.right > width_ || r.bottom > height_)
            return DDERR_INVALIDRECT;
        start += static_cast<size_t>(r.top) * static_cast<size_t>(pitch_) + static_cast<size_t>(r.left);
    }
    bytesMayChange();
    fillDescription(*lpDDSurfaceDesc);
    lpDDSurfaceDesc->dwFlags |= DDSD_LPSURFACE;
    lpDDSurfaceDesc->lpSurface = start;
    locked_ = true;
    lockPointer_ = start;
    return DD_OK;
}

HRESULT Surface::Unlock(LPVOID lpSurfaceData) {
    QMP_TRACE_HRESULT("IDirectDrawSurface::Unlock", DDERR_GENERIC);
    if (!locked_) return DDERR_NOTLOCKED;
    if (lpSurfaceData != nullptr && lpSurfaceData != lockPointer_) return DDERR_INVALIDPARAMS;
    locked_ = false;
    lockPointer_ = nullptr;
    changedOnScreen();
    return DD_OK;
}

HRESULT Surface::GetDC(HDC* lphDC) {
    QMP_TRACE_HRESULT("IDirectDrawSurface::GetDC", DDERR_GENERIC);
    if (lphDC == nullptr) return DDERR_INVALIDPARAMS;
    if (lost_) return DDERR_SURFACELOST;
    if (dc_ != nullptr) return DDERR_DCALREADYCREATED;
    if (locked_) return DDERR_SURFACEBUSY;
    dc_ = openDC(this);
    if (dc_ == nullptr) return DDERR_OUTOFMEMORY;
    bytesMayChange();
    *lphDC = dc_;
    return DD_OK;
}

HRESULT Surface::ReleaseDC(HDC hDC) {
    QMP_TRACE_HRESULT("IDirectDrawSurface::ReleaseDC", DDERR_GENERIC);
    if (dc_ == nullptr) return DDERR_NODC;
    if (hDC != dc_) return DDERR_INVALIDPARAMS;
    closeDC(dc_);
    dc_ = nullptr;
    changedOnScreen();
    return DD_OK;
}

}  // namespace qmp::ddraw
