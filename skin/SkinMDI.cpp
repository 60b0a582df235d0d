// The MDI side of a skinned window: an MDI frame's client window and its children's
// commands, and an MDI child following the manager's MDI-maximized mode and
// native-frames flag.
#include "classlib/base/SysUtils.h"
#include "classlib/gui/WindowText.h"
#include "skin/SkinData.h"
#include "skin/SkinForm.h"
#include "skin/SkinManage.h"
#include "skin/SkinMenuBar.h"
#include "skin/SkinMessages.h"
#include "skin/SkinReader.h"

void TSkinForm::AttachMDI(LONG_PTR exStyle) {
    for (HWND c = GetTopWindow(Handle); c; c = GetWindow(c, GW_HWNDNEXT))
        if (AsciiLowerCase(GetClassNameStr(c)) == "mdiclient") {
            FMDIRole = TMDIRole::Frame;
            FMDIClient = c;
            break;
        }
    if (exStyle & WS_EX_MDICHILD) FMDIRole = TMDIRole::Child;
    if (FMDIRole != TMDIRole::Frame) return;
    FSavedMenuUpdate = FSkinData->MenuUpdate;
    FClientSubclass = std::make_unique<TWindowSubclass>(
        FMDIClient, TWndMethod::Of<&TSkinForm::ClientWndProc>(this));
}

bool TSkinForm::MDIChildMaximized() const {
    if (!FMDIClient) return false;
    BOOL maximized = FALSE;
    HWND child = reinterpret_cast<HWND>(
        SendMessageW(FMDIClient, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximized)));
    return child && maximized;
}

bool TSkinForm::FrameDrawn() const {
    if (FMDIRole != TMDIRole::Child) return true;
    TSkinManage* manager = SkinManager();
    return FPlacement == TPlacement::Normal && !(manager && manager->NativeMDIFrames());
}

void TSkinForm::MDIChildCommand(WPARAM command) {
    if (FMDIRole != TMDIRole::Frame || !FMDIClient) return;
    if (HWND child = reinterpret_cast<HWND>(SendMessageW(FMDIClient, WM_MDIGETACTIVE, 0, 0)))
        SendMessageW(child, WM_SYSCOMMAND, command, 0);
}

// A maximized child has the frame redrawn by its client; a normal one takes the
// skinned frame around the client area it has; a minimized one stays native.
void TSkinForm::ActivateMDIChild() {
    TSkinManage* manager = SkinManager();
    if (FPlacement == TPlacement::Maximized) {
        PostMessageW(GetParent(Handle), WM_SKINMDICHILD, reinterpret_cast<WPARAM>(Handle), 0);
    } else if (FPlacement == TPlacement::Minimized || (manager && manager->NativeMDIFrames())) {
        FFrame->SetNative(true);
    } else {
        RECT client;
        GetClientRect(Handle, &client);
        FFrame->SetAttachClient({client.right, client.bottom});
        FAttach = TAttachState::KeepingSize;
        FFrame->KeepClientSize();
        FAttach = TAttachState::Ready;
        FFrame->UpdateRegion();
    }
}

void TSkinForm::MDIMaximizedChanged(bool on) {
    if (on) {
        FFrame->ClearRegion();
        FFrame->SetNative(true);
        return;
    }
    if (FPlacement == TPlacement::Minimized) return;
    FPlacement = TPlacement::Normal;
    if (!FrameDrawn()) return;
    FFrame->UpdateRegion();
    FFrame->SetNative(false);
    FrameChanged(); // its non-client area was native while it was maximized
}

// A child maximized or restored by its client (not through its system commands) switches
// the MDI-maximized mode too, and its non-client area follows at once.
void TSkinForm::FollowMDIPlacement() {
    TSkinManage* manager = SkinManager();
    if (!manager || !FFrameSkin) return;
    if (FPlacement == TPlacement::Maximized && !manager->MDIMaximized()) {
        manager->SetMDIMaximized(true);
        FrameChanged();
        return;
    }
    BOOL maximized = FALSE;
    SendMessageW(GetParent(Handle), WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximized));
    if (FPlacement == TPlacement::Normal && manager->MDIMaximized() && !maximized)
        manager->SetMDIMaximized(false);
}

// The client area takes the frame it is now drawn with.
void TSkinForm::NativeFramesChanged(bool native) {
    if (native) {
        FFrame->ClearRegion();
        FFrame->SetNative(true);
    } else {
        if (FPlacement == TPlacement::Maximized) return;
        FFrame->UpdateRegion();
        FFrame->SetNative(false);
    }
    FrameChanged();
}

void TSkinForm::ClientWndProc(TMessage& message) {
    TSkinManage* manager = SkinManager();
    switch (message.Msg) {
    case WM_NCCALCSIZE:
        if (FFrameSkin && !(FSkinData->Options & SkinOption(xoMDIScrollbar))) {
            const LONG_PTR style = GetWindowLongPtrW(FMDIClient, GWL_STYLE);
            SetWindowLongPtrW(FMDIClient, GWL_STYLE, style & ~(WS_HSCROLL | WS_VSCROLL));
        }
        break;
    case WM_MDICREATE: FSkinData->MenuUpdate = false; break;
    case WM_MDIDESTROY:
        FClientSubclass->CallPrevious(message);
        if (FFrameSkin && manager) manager->SetMDIMaximized(MDIChildMaximized());
        if (!SendMessageW(FMDIClient, WM_MDIGETACTIVE, 0, 0) && FMenuBar) {
            FSkinData->MenuUpdate = FSavedMenuUpdate;
            FMenuBar->Build(FMenuBar->Menu());
        }
        return;
    case WM_MDITILE:
    case WM_MDICASCADE:
        if (FFrameSkin && manager) manager->SetMDIMaximized(false);
        break;
    case WM_MDISETMENU: {
        FClientSubclass->CallPrevious(message);
        if (!FFrameSkin) return;
        auto frameMenu = reinterpret_cast<HMENU>(message.WParam);
        if (frameMenu && FMenuBar && frameMenu != FMenuBar->Menu())
            FMenuBar->Build(GetMenu(Handle));
        SetMenu(Handle, nullptr);
        return;
    }
    case WM_SKINMDICHILD:
        RedrawWindow(Handle, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
        message.Result = 0;
        return;
    case WM_NCDESTROY:
        FClientSubclass->CallPrevious(message);
        FClientSubclass.reset();
        return;
    }
    FClientSubclass->CallPrevious(message);
}
