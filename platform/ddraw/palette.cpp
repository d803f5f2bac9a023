// Palette (ddraw/objects.h), the IDirectDrawPalette: 256 entries that surfaces
// show their indices through.
#include <cstring>

#include "core/screen.h"
#include "core/trace.h"
#include "ddraw/objects.h"

namespace qmp::ddraw {
namespace {

bool inRange(DWORD first, DWORD count) { return static_cast<uint64_t>(first) + count <= 256u; }

}  // namespace

Palette::Palette(Device& device, const PALETTEENTRY* entries, bool allow256) : device_(device), allow256_(allow256) {
    std::memcpy(entries_, entries, sizeof entries_);
    keepReservedEntries();
}

// Without DDPCAPS_ALLOW256, Windows keeps entries 0 and 255 black and white:
// writes to them are ignored.
void Palette::keepReservedEntries() {
    if (allow256_) return;
    entries_[0] = PALETTEENTRY{0, 0, 0, 0};
    entries_[255] = PALETTEENTRY{255, 255, 255, 0};
}

ULONG Palette::AddRef() {
    long ignored = 0;
    enterCall("IDirectDrawPalette::AddRef", &ignored);
    return ++refs_;
}

ULONG Palette::Release() {
    long ignored = 0;
    enterCall("IDirectDrawPalette::Release", &ignored);
    return release();
}

ULONG Palette::release() {
    if (--refs_ > 0) return refs_;
    device_.forget(this);
    delete this;
    return 0;
}

HRESULT Palette::GetEntries(DWORD dwFlags, DWORD dwBase, DWORD dwNumEntries, LPPALETTEENTRY lpEntries) {
    QMP_TRACE_HRESULT("IDirectDrawPalette::GetEntries", DDERR_GENERIC);
    if (dwFlags != 0 || lpEntries == nullptr || !inRange(dwBase, dwNumEntries)) return DDERR_INVALIDPARAMS;
    std::memcpy(lpEntries, entries_ + dwBase, dwNumEntries * sizeof(PALETTEENTRY));
    return DD_OK;
}

HRESULT Palette::SetEntries(DWORD dwFlags, DWORD dwStartingEntry, DWORD dwCount, LPPALETTEENTRY lpEntries) {
    QMP_TRACE_HRESULT("IDirectDrawPalette::SetEntries", DDERR_GENERIC);
    if (dwFlags != 0 || lpEntries == nullptr || !inRange(dwStartingEntry, dwCount)) return DDERR_INVALIDPARAMS;
    if (dwCount == 0) return DD_OK;
    std::memcpy(entries_ + dwStartingEntry, lpEntries, dwCount * sizeof(PALETTEENTRY));
    keepReservedEntries();
    coloursChanged();
    // An 8-bit display shows a new palette at once.
    const Surface* primary = device_.primary();
    if (primary != nullptr && primary->palette() == this) screen::markStale();
    return DD_OK;
}

}  // namespace qmp::ddraw
