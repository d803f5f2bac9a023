// Clipper (ddraw/objects.h), the IDirectDrawClipper: clips copies into a
// surface to a window's client area.
#include "core/trace.h"
#include "ddraw/objects.h"
#include "user/user_state.h"

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

bool Clipper::clientArea(RECT* area) const {
    // Read from USER's state rather than through GetClientRect: the call log and
    // the fault plans count the program's calls, not the platform's own. The
    // windows have no frame, so the client area is the whole window.
    const user::Window* window = window_ != nullptr ? user::findWindow(window_) : nullptr;
    if (window == nullptr) return false;
    *area = {0, 0, window->rect.right - window->rect.left, window->rect.bottom - window->rect.top};
    return true;
}

}  // namespace qmp::ddraw
