#pragma once
// Reading what Wine composed on the screen, for the pixel tests (tests/skinpixels).
// Their program runs in a Wine virtual desktop named "tw-pixels" on the 24-bit Xvfb
// (scripts/lib.sh: tw_pixel_desktop): there the non-client area and window regions
// show as on Windows. Colours are 0x00RRGGBB, as the synthetic skins give them.
#include "classlib/base/Handle.h"
#include "support/PumpMessages.h"
#include <cstdint>
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include <windows.h>

constexpr const wchar_t* PixelDesktopName = L"tw-pixels";

inline bool InPixelDesktop() {
    wchar_t name[64] = {};
    DWORD needed = 0;
    GetUserObjectInformationW(GetThreadDesktop(GetCurrentThreadId()), UOI_NAME, name, sizeof(name),
                              &needed);
    return std::wstring(name) == PixelDesktopName;
}

// Lets the windows paint and Wine put their surfaces on the screen.
inline void SettleScreen(DWORD ms = 120) {
    RedrawWindow(nullptr, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    PumpUntil([] { return false; }, ms);
    GdiFlush();
}

// A copy of a screen rectangle (GetDC of the desktop into a 32-bit DIB).
class TScreenShot {
public:
    explicit TScreenShot(const RECT& area)
        : FLeft(area.left), FTop(area.top), FWidth(area.right - area.left),
          FHeight(area.bottom - area.top) {
        if (FWidth <= 0 || FHeight <= 0) return;
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = FWidth;
        info.bmiHeader.biHeight = -FHeight;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        TGdiObject dib(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        TMemoryDC memory(CreateCompatibleDC(nullptr));
        {
            TSelectScope select(memory.Get(), dib.Get());
            TWindowDC screen(nullptr);
            BitBlt(memory.Get(), 0, 0, FWidth, FHeight, screen.Get(), FLeft, FTop, SRCCOPY);
            GdiFlush();
        }
        auto* p = static_cast<const uint32_t*>(bits);
        FPixels.assign(p, p + FWidth * FHeight);
    }
    // The window's rectangle; At takes window coordinates then.
    static TScreenShot OfWindow(HWND wnd) {
        RECT r;
        GetWindowRect(wnd, &r);
        return TScreenShot(r);
    }

    // 0x00RRGGBB at (x, y) from the shot's top-left corner; 0xFFFFFFFF outside it.
    [[nodiscard]] uint32_t At(int x, int y) const {
        if (x < 0 || y < 0 || x >= FWidth || y >= FHeight) return 0xFFFFFFFF;
        return FPixels[y * FWidth + x] & 0xFFFFFF;
    }
    [[nodiscard]] int Width() const { return FWidth; }
    [[nodiscard]] int Height() const { return FHeight; }

private:
    int FLeft, FTop, FWidth, FHeight;
    std::vector<uint32_t> FPixels;
};

inline uint32_t ScreenPixel(int x, int y) {
    return TScreenShot(RECT{x, y, x + 1, y + 1}).At(0, 0);
}

// The screen's pixel at (x, y) once it is the expected colour, or what it still is
// after the timeout. The desktop behind a window belongs to another process
// (explorer) and repaints in its own time.
inline uint32_t ScreenPixelSoon(int x, int y, uint32_t expected, DWORD timeoutMs = 3000) {
    uint32_t seen = 0;
    PumpUntil(
        [&] {
            GdiFlush();
            seen = ScreenPixel(x, y);
            return seen == expected;
        },
        timeoutMs);
    return seen;
}

// The same at (x, y) of the window's rectangle.
inline uint32_t WindowPixelSoon(HWND wnd, int x, int y, uint32_t expected, DWORD timeoutMs = 3000) {
    RECT r;
    GetWindowRect(wnd, &r);
    return ScreenPixelSoon(r.left + x, r.top + y, expected, timeoutMs);
}

// The background the virtual desktop shows where no window is.
constexpr uint32_t DesktopColour = 0x256F95;

// Base of the pixel tests: fails at once outside the virtual desktop, and starts each
// test with the cursor in the screen's far corner, where no test puts a window (a
// control left under it by the test before would be hot).
class TPixelTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(InPixelDesktop()) << "run through scripts/test: the pixel tests need the "
                                         "prefix's virtual desktop \"tw-pixels\"";
        SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
    }
};
