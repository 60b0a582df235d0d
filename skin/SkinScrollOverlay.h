#pragma once
// TWScrollbar: a small window laid exactly over one of a host window's own scroll bars,
// painting it from the skin's "Scrollbar" arrows, track and thumb elements. It scrolls
// nothing itself: a press is handed to the host, whose native scroll loop runs, and
// the paint follows the host's scroll state. It lives as a sibling just above the host
// and belongs to the skinned control that made it. Main thread.
#include "classlib/gui/Classes.h"
#include "skin/SkinPaint.h"
#include <windows.h>

class TSkinData;

class TWScrollbar : public TObject {
public:
    enum TKind { Horizontal = 0, Vertical = 1 };
    TWScrollbar(TSkinData& data, HWND host, TKind kind);
    ~TWScrollbar() override;
    TWScrollbar(const TWScrollbar&) = delete;
    TWScrollbar& operator=(const TWScrollbar&) = delete;

    // Placed over the host's bar and shown, or hidden when the host or its bar is not
    // showing; then repainted.
    void UpdatePosition();
    void HideBar();
    // Repaints at once (also inside the host's modal scroll loop).
    void Redraw();
    // The scroll code of the host's last WM_HSCROLL or WM_VSCROLL.
    void SetDownPart(int part) { FDownPart = part; }
    [[nodiscard]] bool Shown() const { return FShown; }
    [[nodiscard]] HWND Handle() const { return FWnd; }

private:
    static LRESULT CALLBACK WndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
    bool Handled(HWND wnd, UINT msg, LPARAM lParam);
    [[nodiscard]] bool Info(SCROLLBARINFO& info) const;
    [[nodiscard]] bool AboveHost() const;
    [[nodiscard]] bool CanPaint() const;
    void Paint(HDC dc);
    void DrawThumb(HDC dc, const SCROLLBARINFO& info, int arrow, int thickness);
    void Press(LPARAM lParam);
    void Release(LPARAM lParam);
    [[nodiscard]] LPARAM ScreenPoint(LPARAM lParam) const;

    TSkinData& FData;
    HWND FHost;
    TKind FKind;
    HWND FWnd = nullptr;
    bool FShown = false;
    bool FMouseDown = false;
    int FDownPart = -1;
    TOffscreen FOffscreen;
    POINT FDownCursor{};
    int FDownThumbTop = 0;
};
