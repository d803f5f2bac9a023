// The pixel probe's entry point: opens the display as the demo does (a popup
// window, exclusive full-screen 640 x 480 x 8, a flip chain with the probe
// palette on the primary), runs every case on a fresh target and writes
//   case <TAB> group <TAB> name <TAB> result <TAB> width <TAB> height <TAB> hex pixels
// one line per case, to the file named on the command line.
#include <cstdio>
#include <string>

#include "probe.h"

namespace {

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

void pumpMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

bool fail(FILE* out, const char* step, HRESULT hr) {
    std::fprintf(out, "setup\t%s\t%s\n", step, probe::hresultName(hr).c_str());
    return false;
}

bool openDisplay(HINSTANCE instance, probe::Device& d, FILE* out) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = "PixelProbe";
    if (RegisterClassA(&windowClass) == 0) return fail(out, "RegisterClassA", E_FAIL);
    d.window = CreateWindowExA(0, "PixelProbe", "Pixel Probe", WS_POPUP, 0, 0, 640, 480, nullptr, nullptr, instance,
                               nullptr);
    if (d.window == nullptr) return fail(out, "CreateWindowExA", E_FAIL);
    ShowWindow(d.window, SW_SHOW);
    UpdateWindow(d.window);
    pumpMessages();

    HRESULT hr = DirectDrawCreate(nullptr, &d.ddraw, nullptr);
    if (FAILED(hr)) return fail(out, "DirectDrawCreate", hr);
    if (FAILED(hr = d.ddraw->SetCooperativeLevel(d.window, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN)))
        return fail(out, "SetCooperativeLevel", hr);
    if (FAILED(hr = d.ddraw->SetDisplayMode(640, 480, 8))) return fail(out, "SetDisplayMode", hr);
    pumpMessages();

    DDSURFACEDESC desc{};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
    desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
    desc.dwBackBufferCount = 1;
    if (FAILED(hr = d.ddraw->CreateSurface(&desc, &d.primary, nullptr))) return fail(out, "CreateSurface primary", hr);
    DDSCAPS backCaps{};
    backCaps.dwCaps = DDSCAPS_BACKBUFFER;
    if (FAILED(hr = d.primary->GetAttachedSurface(&backCaps, &d.back))) return fail(out, "GetAttachedSurface", hr);

    std::vector<PALETTEENTRY> entries = probe::probePalette();
    if (FAILED(hr = d.ddraw->CreatePalette(DDPCAPS_8BIT, entries.data(), &d.palette, nullptr)))
        return fail(out, "CreatePalette", hr);
    if (FAILED(hr = d.primary->SetPalette(d.palette))) return fail(out, "SetPalette", hr);

    d.target = probe::makeSurface(d, probe::kSize, probe::kSize, true);
    if (d.target == nullptr) return fail(out, "CreateSurface target", E_FAIL);
    return true;
}

// The top-left size x size pixels of a surface, as hex.
std::string pixels(LPDIRECTDRAWSURFACE surface, int size, int* width, int* height) {
    DDSURFACEDESC desc{};
    desc.dwSize = sizeof desc;
    if (FAILED(surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr))) return "";
    *width = desc.dwWidth < DWORD(size) ? static_cast<int>(desc.dwWidth) : size;
    *height = desc.dwHeight < DWORD(size) ? static_cast<int>(desc.dwHeight) : size;
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    const auto* bytes = static_cast<const unsigned char*>(desc.lpSurface);
    for (int y = 0; y < *height; ++y)
        for (int x = 0; x < *width; ++x) {
            const unsigned char v = bytes[static_cast<size_t>(y) * static_cast<size_t>(desc.lPitch) + x];
            hex += digits[v >> 4];
            hex += digits[v & 15];
        }
    surface->Unlock(nullptr);
    return hex;
}

void runCases(probe::Device& d, const std::vector<probe::Case>& cases, FILE* out) {
    for (const probe::Case& c : cases) {
        probe::clearSurface(d.target, probe::kBackground);
        probe::Outcome outcome = c.run(d);
        int width = 0, height = 0;
        LPDIRECTDRAWSURFACE dumped = outcome.dumped != nullptr ? outcome.dumped : d.target;
        const std::string hex = pixels(dumped, outcome.size, &width, &height);
        if (outcome.dumped != nullptr && outcome.dumped != d.target && outcome.dumped != d.primary &&
            outcome.dumped != d.back)
            outcome.dumped->Release();
        std::fprintf(out, "case\t%s\t%s\t%s\t%d\t%d\t%s\n", c.group.c_str(), c.name.c_str(), outcome.result.c_str(),
                     width, height, hex.c_str());
        pumpMessages();
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    std::string path = commandLine != nullptr ? commandLine : "";
    while (!path.empty() && (path.back() == ' ' || path.back() == '"')) path.pop_back();
    while (!path.empty() && (path.front() == ' ' || path.front() == '"')) path.erase(path.begin());
    if (path.empty()) path = "pixel_probe.txt";
    FILE* out = std::fopen(path.c_str(), "w");
    if (out == nullptr) return 2;

    probe::Device d;
    int code = 1;
    if (openDisplay(instance, d, out)) {
        runCases(d, probe::ddrawCases(), out);
        runCases(d, probe::gdiCases(), out);
        runCases(d, probe::textCases(), out);
        runCases(d, probe::sweepCases(), out);
        std::fprintf(out, "end\n");
        code = 0;
    }
    std::fclose(out);
    if (d.target != nullptr) d.target->Release();
    if (d.palette != nullptr) d.palette->Release();
    if (d.primary != nullptr) d.primary->Release();  // the back buffer goes with it
    if (d.ddraw != nullptr) {
        d.ddraw->RestoreDisplayMode();
        d.ddraw->Release();
    }
    if (d.window != nullptr) DestroyWindow(d.window);
    return code;
}
