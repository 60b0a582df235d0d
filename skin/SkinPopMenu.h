#pragma once
// TSkinPopMenu: a system popup-menu window ("#32768") subclassed to paint its 3-pixel
// frame from the skin's "MenuBackground" element. It keeps the frame-sized picture
// that the menu item painter draws item backgrounds from. Main thread.
#include "classlib/gui/Bitmap.h"
#include "classlib/gui/WindowSubclass.h"
#include <memory>

class TSkinData;

class TSkinPopMenu {
public:
    static constexpr int FrameWidth = 3;

    void Hook(HWND wnd, TSkinData* data, TObject* owner);
    void Unhook();

    [[nodiscard]] HWND Handle() const { return FHandle; }
    [[nodiscard]] TSkinData* Data() const { return FData; }
    // The frame picture, made for the menu's size when the skin can paint it; nullptr
    // when it cannot.
    TBitmap* Picture();
    TObject* Owner = nullptr; // the menu-bar or caption object that opened it

private:
    void WndProc(TMessage& message);
    [[nodiscard]] bool CanPaint() const;
    void MakeFrame();
    void PaintFrame(HDC dc);
    void Print(TMessage& message);

    std::unique_ptr<TWindowSubclass> FSubclass;
    HWND FHandle = nullptr;
    TSkinData* FData = nullptr;
    std::unique_ptr<TBitmap> FFrame;
};
