// The pixel probe: one Win32 program that draws a table of small cases with
// DirectDraw, GDI and AlphaBlend and writes each case's result and pixels to a
// text file. Built with mingw it runs under Wine; built against platform/ it
// runs on Linux; compare.py sets the two files side by side.
#pragma once

#include <windows.h>
#include <ddraw.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace probe {

// The area every case draws into, and what it holds before each case.
constexpr int kSize = 64;
constexpr uint8_t kBackground = 200;
constexpr uint8_t kKey = 253;  // the demo's transparent index

// Indices of the probe palette that hold the colours the demo asks GDI for.
enum : uint8_t { BLACK = 0, WHITE = 1, RED = 2, GREEN = 3, BLUE = 4, CYAN = 5, OLIVE = 6, GREY = 7, YELLOW = 8 };

struct Device {
    HWND window = nullptr;
    LPDIRECTDRAW ddraw = nullptr;
    LPDIRECTDRAWSURFACE primary = nullptr;
    LPDIRECTDRAWSURFACE back = nullptr;
    LPDIRECTDRAWPALETTE palette = nullptr;   // the primary's
    LPDIRECTDRAWSURFACE target = nullptr;    // kSize x kSize, system memory, keyed 253, no palette
};

// What a case leaves: its result text (return codes, measures) and the
// surface whose top-left `size` x `size` pixels are compared.
struct Outcome {
    std::string result;
    LPDIRECTDRAWSURFACE dumped = nullptr;  // the target when null
    int size = kSize;
};

struct Case {
    std::string name;
    // "ddraw", "gdi", "text"; "font": the faces differ by design, shown only;
    // "sweep": one shape each, many sizes and directions.
    std::string group;
    std::function<Outcome(Device&)> run;
};

std::vector<PALETTEENTRY> probePalette();
std::string hresultName(HRESULT hr);

// A system-memory surface of the device's 8-bit format; keyed 253..253 when asked.
LPDIRECTDRAWSURFACE makeSurface(Device& d, int width, int height, bool keyed);
// Fills a surface (or a rectangle of it) through Lock: (x + 7 y + seed) % 251, with
// the key 253 wherever `holes` says so.
void paintPattern(LPDIRECTDRAWSURFACE surface, int seed, bool holes);
// Every pixel of the surface set to one index through Lock.
void clearSurface(LPDIRECTDRAWSURFACE surface, uint8_t index);

const std::vector<Case>& ddrawCases();
const std::vector<Case>& gdiCases();
const std::vector<Case>& textCases();
std::vector<Case> sweepCases();

// One line of the given pen width and colour with MoveToEx and LineTo.
void line(HDC dc, int x0, int y0, int x1, int y1, int width, COLORREF colour);
// The demo's fillCircle: a brush and a 2-pixel pen of one colour.
void disc(HDC dc, int x, int y, int radius, COLORREF colour);

// A surface's device context for the length of a case.
class SurfaceDc {
public:
    explicit SurfaceDc(LPDIRECTDRAWSURFACE surface) : surface_(surface) { result_ = surface->GetDC(&dc_); }
    ~SurfaceDc() {
        if (dc_ != nullptr) surface_->ReleaseDC(dc_);
    }
    SurfaceDc(const SurfaceDc&) = delete;
    SurfaceDc& operator=(const SurfaceDc&) = delete;
    HDC get() const { return dc_; }
    std::string result() const { return hresultName(result_); }

private:
    LPDIRECTDRAWSURFACE surface_;
    HDC dc_ = nullptr;
    HRESULT result_;
};

}  // namespace probe
