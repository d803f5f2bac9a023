// window_check: opens the program's kind of window through the Win32 calls,
// sets the 640 x 480 x 8 DirectDraw mode with a flip chain and a palette of 256
// colours, and animates a test card: colour bars, a grid, a square the arrow
// keys move, and a line of text drawn with GDI. Esc asks "ESC 鍵按下了！確定
// 退出？" (Big5) in a Yes/No box; Yes ends the program with exit code 0.
//
//   build/default/bin/window_check [--window] [--script FILE]
#include <ddraw.h>
#include <mmsystem.h>
#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr DWORD kPresentInterval = 41;
constexpr int kSquare = 40;
constexpr char kTitle[] = "Quillmere Demo";
// "ESC 鍵按下了！確定退出？" in Big5.
constexpr char kPrompt[] = "ESC \xC1\xE4\xAB\xF6\xA4\x55\xA4\x46\xA1\x49\xBD\x54\xA9\x77\xB0\x68\xA5\x58\xA1\x48";

LPDIRECTDRAW device = nullptr;
LPDIRECTDRAWSURFACE primary = nullptr;
LPDIRECTDRAWSURFACE back = nullptr;
LPDIRECTDRAWPALETTE palette = nullptr;
bool active = true;
bool held[4] = {};  // left, up, right, down
int squareX = kWidth / 2 - kSquare / 2;
int squareY = kHeight / 2 - kSquare / 2;

// Entries 0..215: a 6x6x6 colour cube; 216..255: a grey ramp. Entry 0 is black, 255 white.
void makePalette(PALETTEENTRY* entries) {
    for (int i = 0; i < 216; ++i) {
        entries[i].peRed = static_cast<BYTE>(i / 36 * 51);
        entries[i].peGreen = static_cast<BYTE>(i / 6 % 6 * 51);
        entries[i].peBlue = static_cast<BYTE>(i % 6 * 51);
    }
    for (int i = 216; i < 256; ++i) {
        const BYTE grey = static_cast<BYTE>((i - 216) * 255 / 39);
        entries[i] = {grey, grey, grey, 0};
    }
}

bool openDisplay(HWND window) {
    if (DirectDrawCreate(nullptr, &device, nullptr) != DD_OK) return false;
    if (device->SetCooperativeLevel(window, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN) != DD_OK) return false;
    if (device->SetDisplayMode(kWidth, kHeight, 8) != DD_OK) return false;
    DDSURFACEDESC desc{};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
    desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
    desc.dwBackBufferCount = 1;
    if (device->CreateSurface(&desc, &primary, nullptr) != DD_OK) return false;
    DDSCAPS caps{DDSCAPS_BACKBUFFER};
    if (primary->GetAttachedSurface(&caps, &back) != DD_OK) return false;
    PALETTEENTRY entries[256];
    makePalette(entries);
    if (device->CreatePalette(DDPCAPS_8BIT, entries, &palette, nullptr) != DD_OK) return false;
    return primary->SetPalette(palette) == DD_OK && back->SetPalette(palette) == DD_OK;
}

void releaseDisplay() {
    if (back != nullptr) back->Release();
    if (primary != nullptr) primary->Release();
    if (palette != nullptr) palette->Release();
    if (device != nullptr) device->Release();
    back = primary = nullptr;
    palette = nullptr;
    device = nullptr;
}

void drawCard(DWORD now) {
    DDSURFACEDESC desc{};
    desc.dwSize = sizeof desc;
    if (back->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr) != DD_OK) return;
    auto* pixels = static_cast<BYTE*>(desc.lpSurface);
    const int shift = static_cast<int>(now / 40);
    for (int y = 0; y < kHeight; ++y) {
        BYTE* row = pixels + y * desc.lPitch;
        for (int x = 0; x < kWidth; ++x) {
            BYTE index;
            if (y < 160)
                index = static_cast<BYTE>((x * 216 / kWidth + shift) % 216);  // every colour of the cube
            else if (y < 200)
                index = static_cast<BYTE>(216 + x * 40 / kWidth);  // the grey ramp
            else
                index = (x % 64 == 0 || y % 64 == 0) ? 255 : 0;  // grid on black
            row[x] = index;
        }
    }
    for (int y = squareY; y < squareY + kSquare; ++y)
        for (int x = squareX; x < squareX + kSquare; ++x)
            if (x >= 0 && y >= 0 && x < kWidth && y < kHeight) pixels[y * desc.lPitch + x] = 180;  // red
    back->Unlock(nullptr);

    HDC dc = nullptr;
    if (back->GetDC(&dc) == DD_OK) {
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(255, 255, 0));
        char line[96];
        std::snprintf(line, sizeof line, "window_check  arrows move  Esc quits  %lu ms",
                      static_cast<unsigned long>(now));
        TextOutA(dc, 16, 440, line, static_cast<int>(std::strlen(line)));
        back->ReleaseDC(dc);
    }
}

void update(DWORD elapsed) {
    const int step = static_cast<int>(elapsed) * 200 / 1000;
    if (held[0]) squareX -= step;
    if (held[2]) squareX += step;
    if (held[1]) squareY -= step;
    if (held[3]) squareY += step;
    if (squareX < 0) squareX = 0;
    if (squareY < 0) squareY = 0;
    if (squareX > kWidth - kSquare) squareX = kWidth - kSquare;
    if (squareY > kHeight - kSquare) squareY = kHeight - kSquare;
}

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ACTIVATEAPP: active = wParam != 0; return 0;
    case WM_KEYDOWN:
    case WM_KEYUP: {
        const bool down = message == WM_KEYDOWN;
        if (wParam >= VK_LEFT && wParam <= VK_DOWN) held[wParam - VK_LEFT] = down;
        if (down && wParam == VK_ESCAPE && MessageBoxA(window, kPrompt, "Keyboard", MB_YESNO) == IDYES)
            DestroyWindow(window);
        return 0;
    }
    case WM_DESTROY:
        releaseDisplay();
        ShowCursor(TRUE);
        PostQuitMessage(0);
        return 0;
    default: return DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kTitle;
    if (RegisterClassA(&windowClass) == 0) return 1;
    HWND window = CreateWindowExA(0, kTitle, kTitle, WS_POPUP, 0, 0, GetSystemMetrics(SM_CXSCREEN),
                                  GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr, instance, nullptr);
    if (window == nullptr) return 1;
    ShowWindow(window, showCommand);
    UpdateWindow(window);
    SetFocus(window);
    ShowCursor(FALSE);
    if (!openDisplay(window)) {
        MessageBoxA(nullptr, "DirectDraw could not be set up", "window_check", MB_OK);
        DestroyWindow(window);
        return 1;
    }

    DWORD last = timeGetTime();
    DWORD lastPresent = last;
    MSG msg;
    for (;;) {
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) return static_cast<int>(msg.wParam);
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
            continue;
        }
        if (!active) {
            WaitMessage();
            last = timeGetTime();
            continue;
        }
        const DWORD now = timeGetTime();
        update(now - last);
        last = now;
        if (now - lastPresent >= kPresentInterval) {
            lastPresent = now;
            drawCard(now);
            if (primary->Flip(nullptr, DDFLIP_WAIT) == DDERR_SURFACELOST) {
                primary->Restore();
                back->Restore();
            }
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}
