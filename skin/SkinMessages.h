#pragma once
// The skin engine's own window messages.
#include <windows.h>

enum : UINT {
    WM_SKINCHANGED = 0x3401,      // skin changed, to a skinned form
    WM_SKINREPAINTFRAME = 0x3502, // repaint the frame
    WM_SKINACTIVATE = 0x3503,     // posted by the manager to a window just skinned, lParam 1000
    WM_SKINCONTROL = 0x3506,      // a control's skin on or off
    WM_SKINSYSBUTTON = 0x3514,    // a custom caption-button action
    WM_SKINBUTTONVISIBLE = 0x3515,
    WM_SKINMDICHILD = 0x3516,
    WM_SKINQUERY = 0x3523, // answered 1 by every skinned window, menu and control
};

// WM_SKINACTIVATE's wParam for a window whose controls are not made yet: its frame only.
constexpr WPARAM SkinFrameOnly = 1;

// Undocumented: themed systems send them to have DefWindowProc draw the native caption
// and frame.
enum : UINT { WM_NCUAHDRAWCAPTION = 0x00AE, WM_NCUAHDRAWFRAME = 0x00AF };
