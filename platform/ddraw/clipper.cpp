// IDirectDrawClipper: clips copies into a surface to a window's client area.
#include "core/trace.h"
#include "ddraw/objects.h"

namespace qmp::ddraw {

ULONG Clipper::AddRef() {
    long ignored = 0;
    enterCall("IDirectDrawClipper::AddRef", &ignored);
    return ++refs_;
}

ULONG Clipper::Release() {
    long ignored = 0;
    enterCall("IDirectDrawClipper::Release", &ignored);
    return release();
}

ULONG Clipper::release() {
    if (--refs_ > 0) return refs_;
    device_.forget(this);
    delete this;
    return 0;
}

HRESULT Clipper::SetHWnd(DWORD dwFlags, HWND hWnd) {
    QMP_TRACE_HRESULT("IDirectDrawClipper::SetHWnd", DDERR_GENERIC);
    if (dwFlags != 0) return DDERR_INVALIDPARAMS;
    window_ = hWnd;
    return DD_OK;
}

HRESULT Clipper::GetHWnd(HWND* lphWnd) {
    QMP_TRACE_HRESULT("IDirectDrawClipper::GetHWnd", DDERR_GENERIC);
    if (lphWnd == nullptr) return DDERR_INVALIDPARAMS;
    *lphWnd = window_;
    return DD_OK;
}

}  // namespace qmp::ddraw
