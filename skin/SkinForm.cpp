#include "skin/SkinForm.h"
#include "classlib/gui/Form.h"
#include "classlib/gui/MainMenu.h"
#include "classlib/gui/Menus.h"
#include "classlib/gui/Timer.h"
#include "classlib/gui/WinControl.h"
#include "classlib/gui/WindowText.h"
#include "skin/SkinCaption.h"
#include "skin/SkinData.h"
#include "skin/SkinFactory.h"
#include "skin/SkinManage.h"
#include "skin/SkinMenuBar.h"
#include "skin/SkinMenuItem.h"
#include "skin/SkinMessages.h"

namespace {

// Counts the nesting of a window procedure while it runs.
class TDepthScope {
public:
    explicit TDepthScope(int& depth) : FDepth(depth) { ++FDepth; }
    ~TDepthScope() { --FDepth; }
    TDepthScope(const TDepthScope&) = delete;
    TDepthScope& operator=(const TDepthScope&) = delete;

private:
    int& FDepth;
};

// The first main menu the form owns, or nullptr.
TMainMenu* MainMenuOf(TComponent& form) {
    for (int i = 0; i < form.ComponentCount(); ++i)
        if (auto menu = dynamic_cast<TMainMenu*>(form.Components(i))) return menu;
    return nullptr;
}

} // namespace

TSkinForm::TSkinForm(TComponent* owner)
    : TComponent(owner), FFrame(std::make_unique<TSkinFrame>(*this)),
      FCaption(std::make_unique<TCaptionButtons>(*this)) {}

TSkinForm::~TSkinForm() {
    Detach();
}

void TSkinForm::InitForm(TSkinData* data, TWinControl* form) {
    FForm = form;
    InitWindow(data);
    FOldColor = form->Color();
    form->SetColor(data->Colours().ButtonFace);
    if (data->SkinControls & SkinKind(xcPopupMenu)) SkinFormPopupMenus(form, data, FRightToLeft);
    if (data->SkinControls & SkinKind(xcMenuItem)) SkinFormMainMenus(form, data, FRightToLeft);
}

void TSkinForm::InitWindow(TSkinData* data) {
    if (FSubclass) return;
    FSkinData = data;
    FHoverTimer = std::make_unique<TTimer>(nullptr);
    FHoverTimer->SetEnabled(false);
    FHoverTimer->SetInterval(250);
    FHoverTimer->SetOnTimer([this](TObject* sender) { TimerTick(sender); });
    const LONG_PTR style = GetWindowLongPtrW(Handle, GWL_STYLE);
    const LONG_PTR exStyle = GetWindowLongPtrW(Handle, GWL_EXSTYLE);
    AttachMDI(exStyle);
    const bool mdiChild = FMDIRole == TMDIRole::Child;
    const bool child = (style & WS_CHILD) && !mdiChild;
    FRightToLeft = exStyle & WS_EX_LEFTSCROLLBAR;
    FHadMenu = !mdiChild && GetMenu(Handle) != nullptr; // a child's menu is its id
    FFrameSkin = (data->SkinControls & SkinKind(xcMainMenu)) && !child && data->HasFrame();
    RECT client;
    GetClientRect(Handle, &client);
    FFrame->Attach(style, child, {client.right, client.bottom});
    ReadPlacement();
    ReadBorderKind(style, exStyle);
    FCaption->MakeSystemPopup();
    TSkinManage* manager = SkinManager();
    if (FFrameSkin) {
        if (HMENU menu = GetMenu(Handle); menu && !mdiChild) {
            FFrame->SetMenuBarHeight(GetSystemMetrics(SM_CYMENU));
            FMenuBar = std::make_unique<TSkinMenu>(*this, *data);
            if (FForm) FMenuBar->SetMainMenu(MainMenuOf(*FForm));
            FMenuBar->Build(menu);
        }
        if (FPlacement != TPlacement::Minimized &&
            !(mdiChild && manager && manager->MDIMaximized()))
            FFrame->SetNative(false);
        LoadFrameMetrics();
    } else {
        FAttach = TAttachState::Ready;
    }
    FSubclass =
        std::make_unique<TWindowSubclass>(Handle, TWndMethod::Of<&TSkinForm::SkinWndProc>(this));
    HookForm();
    if (mdiChild && FPlacement == TPlacement::Maximized && manager) manager->SetMDIMaximized(true);
    InvalidateRect(Handle, nullptr, TRUE);
}

// The frame's metrics from the skin, the menu bar's height from the system; the top of
// an MDI child is never lower than its native one.
void TSkinForm::LoadFrameMetrics() {
    FFrame->SetMenuBarHeight(FMenuBar ? GetSystemMetrics(SM_CYMENU) : 0);
    FFrame->Load();
    const int native = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYSIZEFRAME);
    if (FMDIRole == TMDIRole::Child && native > FFrame->Metrics().Title)
        FFrame->SetMenuBarHeight(native - FFrame->Metrics().Title);
}

void TSkinForm::ReadBorderKind(LONG_PTR style, LONG_PTR exStyle) {
    const bool sizeable = style & WS_THICKFRAME;
    FBorderKind = TBorderKind::Fixed;
    if ((style & WS_POPUP) && (style & WS_CAPTION) != WS_CAPTION)
        FBorderKind = TBorderKind::Popup;
    else if (!sizeable && (style & DS_MODALFRAME))
        FBorderKind = TBorderKind::Dialog;
    else if (sizeable)
        FBorderKind = TBorderKind::Sizing;
    if (exStyle & WS_EX_DLGMODALFRAME) FBorderKind = TBorderKind::Dialog;
    const std::string className = GetClassNameStr(Handle);
    FDialogClass = className == "#32770" || className == "TMessageForm";
    if (FDialogClass) FBorderKind = TBorderKind::Dialog;
}

// The window proper is skinned: its controls, its size and its region.
void TSkinForm::Activate(bool frameOnly) {
    FActivated = true;
    if (frameOnly) { // the controls, not made yet, in a pass of their own
        FControls.Pending = true;
        PostMessageW(Handle, WM_SKINACTIVATE, 0, 1000);
    } else {
        SkinWindowControls(*this);
    }
    if (FAttach == TAttachState::Attaching && FFrameSkin && FMDIRole == TMDIRole::Child) {
        ActivateMDIChild();
    } else if (FAttach == TAttachState::Attaching && FFrameSkin &&
               FBorderKind != TBorderKind::Popup && FPlacement != TPlacement::Minimized) {
        FAttach = TAttachState::KeepingSize;
        FFrame->KeepClientSize();
        FAttach = TAttachState::Ready;
        if (FPlacement == TPlacement::Normal) FFrame->UpdateRegion();
    }
    FAttach = TAttachState::Ready;
    if (FHoverTimer) FHoverTimer->SetEnabled(true);
}

void TSkinForm::Detach() {
    FControls.DestroyAll();
    if (FHoverTimer) FHoverTimer->SetEnabled(false);
    FHot = nullptr;
    FCaption->Clear();
    FMenuBar.reset();
    FFrame->ForgetPictures();
    FClientSubclass.reset();
    FSubclass.reset();
    if (!FDropped) UnhookForm(); // a dropped window's form may be gone
}

void TSkinForm::Unskin() {
    const bool destroying = FDropped || !IsWindow(Handle) || (FForm && FForm->Destroying());
    if (FFrameSkin && !destroying) {
        // Where the native frame puts the client area when it stays where it is now.
        RECT target;
        GetClientRect(Handle, &target);
        MapWindowPoints(Handle, FMDIRole == TMDIRole::Child ? GetParent(Handle) : nullptr,
                        reinterpret_cast<POINT*>(&target), 2);
        if (FMenuBar) FMenuBar->DrawMenusNatively();
        if (FMenuBar && !GetMenu(Handle)) SetMenu(Handle, FMenuBar->Menu());
        FFrame->ClearRegion();
        FFrame->SetNative(true);
        Detach();
        AdjustWindowRectEx(&target, static_cast<DWORD>(GetWindowLongPtrW(Handle, GWL_STYLE)),
                           FMDIRole != TMDIRole::Child && GetMenu(Handle), // a child's is its id
                           static_cast<DWORD>(GetWindowLongPtrW(Handle, GWL_EXSTYLE)));
        const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED;
        if (FPlacement == TPlacement::Normal)
            SetWindowPos(Handle, nullptr, target.left, target.top, target.right - target.left,
                         target.bottom - target.top, flags);
        else
            SetWindowPos(Handle, nullptr, 0, 0, 0, 0, flags | SWP_NOMOVE | SWP_NOSIZE);
    } else {
        Detach();
    }
    if (!FForm || destroying) return;
    FForm->SetColor(FOldColor);
    SkinFormPopupMenus(FForm, nullptr);
    if (FSkinData->SkinControls & SkinKind(xcMenuItem)) SkinFormMainMenus(FForm, nullptr);
}

void TSkinForm::Repaint() {
    if (!IsWindow(Handle)) return;
    InvalidateRect(Handle, nullptr, TRUE);
    UpdateWindow(Handle);
}

void TSkinForm::FrameChanged() {
    SetWindowPos(Handle, nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TSkinForm::SkinChanged() {
    if (FDropped) return;
    if (FForm) {
        const TColor face = FSkinData->Colours().ButtonFace;
        FForm->SetColor(face);
        for (int i = 0; i < FForm->ComponentCount(); ++i)
            if (auto form = dynamic_cast<TForm*>(FForm->Components(i))) form->SetColor(face);
    }
    FControls.RefreshAll();
    if (FFrameSkin && FAttach == TAttachState::Ready && FForm &&
        (FSkinData->SkinControls & SkinKind(xcPopupMenu)))
        SkinFormPopupMenus(FForm, FSkinData, FRightToLeft);
    ReapplyFrame(FForm != nullptr);
    Repaint();
}

// The skinned frame is laid again around the same client area, its region cut anew; a
// form is laid out again too (one pixel higher and back).
void TSkinForm::ReapplyFrame(bool relayout) {
    if (!FFrameSkin || FAttach != TAttachState::Ready) return;
    FAttach = TAttachState::Reapplying;
    FFrame->KeepClientSize();
    FFrame->UpdateRegion();
    if (relayout) {
        FForm->SetHeight(FForm->Height() + 1);
        FForm->SetHeight(FForm->Height() - 1);
    }
    FAttach = TAttachState::Ready;
}

void TSkinForm::FreeSysButtons() {
    DropHot();
    FCaption->Clear();
    FFrame->ForgetPictures();
}

void TSkinForm::ReadPlacement() {
    FPlacement = IsIconic(Handle)   ? TPlacement::Minimized
                 : IsZoomed(Handle) ? TPlacement::Maximized
                                    : TPlacement::Normal;
}

POINT TSkinForm::WindowPoint(POINT screen) const {
    ScreenToClient(Handle, &screen);
    if (FPlacement != TPlacement::Minimized) {
        const TFrameMetrics& m = FFrame->Metrics();
        screen.x += m.Left;
        screen.y += m.Title + m.MenuBar;
    }
    return screen;
}

void TSkinForm::StopHover() {
    if (FHoverTimer) FHoverTimer->SetEnabled(false);
}

void TSkinForm::TimerTick(TObject*) {
    if (FMenuTracking || !FHot) return;
    POINT cursor;
    GetCursorPos(&cursor);
    const POINT p = WindowPoint(cursor);
    if (!PtInRect(&FHot->Rect, p)) FHot->MouseLeave();
}

void TSkinForm::SkinWndProc(TMessage& message) {
    TDepthScope depth(FDepth);
    if (!RouteWindow(message)) CallPrevious(message);
}

bool TSkinForm::RouteWindow(TMessage& message) {
    switch (message.Msg) {
    case WM_SKINQUERY: message.Result = 1; return true;
    case WM_SKINACTIVATE: Activate(message.WParam == SkinFrameOnly); return true;
    case WM_SKINCHANGED: SkinChanged(); return true;
    case WM_ERASEBKGND:
        if (FForm) return false;
        RECT r;
        GetClientRect(Handle, &r);
        FillRect(reinterpret_cast<HDC>(message.WParam), &r, FSkinData->ButtonFaceBrush());
        message.Result = 1;
        return true;
    case WM_CTLCOLORBTN:
        if (FForm) return false;
        CallPrevious(message);
        SetBkMode(reinterpret_cast<HDC>(message.WParam), TRANSPARENT);
        return true;
    case WM_CTLCOLORSTATIC:
        if (FForm) return false;
        CallPrevious(message);
        SetBkMode(reinterpret_cast<HDC>(message.WParam), TRANSPARENT);
        message.Result = reinterpret_cast<LRESULT>(FSkinData->ButtonFaceBrush());
        return true;
    case WM_NCDESTROY:
        FAttach = TAttachState::Destroying;
        FControls.DestroyAll();
        StopHover();
        FCaption->Clear();
        FHot = nullptr;
        // The menu the bar took from the window goes with the window.
        if (FMenuBar && GetMenu(Handle) != FMenuBar->Menu()) DestroyMenu(FMenuBar->Menu());
        FMenuBar.reset();
        UnhookForm();
        CallPrevious(message);
        FAttach = TAttachState::Gone;
        FDropped = true;
        return true;
    case WM_INITMENUPOPUP:
        if (TSkinManage* manager = SkinManager())
            manager->MenuKind =
                reinterpret_cast<HMENU>(message.WParam) == GetSystemMenu(Handle, FALSE)
                    ? TMenuKind::System
                    : TMenuKind::Main;
        return false;
    }
    return FFrameSkin && RouteFrame(message);
}

bool TSkinForm::RouteFrame(TMessage& message) {
    switch (message.Msg) {
    case WM_COMMAND:
        if (message.WParam >= SC_SIZE && message.WParam <= SC_RESTORE) {
            PostMessageW(Handle, WM_SYSCOMMAND, message.WParam, 0);
            return true;
        }
        return false;
    case WM_SIZE: OnSize(message); return true;
    case WM_GETMINMAXINFO: OnGetMinMaxInfo(message); return true;
    case WM_WINDOWPOSCHANGED: ReadPlacement(); return false;
    case WM_SYSCOMMAND: return OnSysCommand(message);
    case WM_SETTEXT:
    case WM_SETICON: CallHidingNativeCaption(message); return true;
    case WM_SETTINGCHANGE: OnSettingChange(message); return true;
    case WM_SYSCOLORCHANGE: OnSysColorChange(message); return true;
    case CM_MENUCHANGED: OnMenuChanged(message); return true;
    case WM_MENUSELECT:
        if (FMenuBar) FMenuBar->MenuSelect(message.WParam, message.LParam);
        return false;
    case WM_ACTIVATE: FActive = LOWORD(message.WParam) != WA_INACTIVE; break;
    case WM_NCACTIVATE: FActive = message.WParam != 0; break;
    }
    return FrameDrawn() && FPlacement != TPlacement::Minimized &&
           FAttach != TAttachState::Attaching && RouteDrawnFrame(message);
}

bool TSkinForm::RouteDrawnFrame(TMessage& message) {
    switch (message.Msg) {
    case WM_NCACTIVATE: OnNcActivate(message); return true;
    case WM_NCCALCSIZE: FFrame->OnNcCalcSize(message); return true;
    case WM_NCHITTEST: FFrame->OnNcHitTest(message); return true;
    case WM_NCPAINT:
    case WM_NCUAHDRAWCAPTION:
    case WM_NCUAHDRAWFRAME: FFrame->OnNcPaint(message); return true;
    case WM_SKINREPAINTFRAME: FFrame->Paint(); return true;
    case WM_NCMOUSEMOVE: FCaption->OnNcMouseMove(message); return true;
    case WM_NCLBUTTONDOWN: FCaption->OnNcLButtonDown(message); return true;
    case WM_NCLBUTTONUP: FCaption->OnNcLButtonUp(message); return true;
    case WM_NCLBUTTONDBLCLK: FCaption->OnNcLButtonDblClk(message); return true;
    case WM_NCRBUTTONDOWN: FCaption->OnNcRButtonDown(message); return true;
    case WM_MEASUREITEM:
    case WM_DRAWITEM: return OnMenuItem(message);
    }
    return false;
}

// Items of the menus the bar drops are drawn from the skin; other owner-drawn items
// are the old procedure's.
bool TSkinForm::OnMenuItem(TMessage& message) {
    const HMENU tracked = FMenuBar ? FMenuBar->TrackedPopup() : nullptr;
    if (!FHadMenu || !tracked) return false;
    if (message.Msg == WM_MEASUREITEM) {
        auto measure = reinterpret_cast<MEASUREITEMSTRUCT*>(message.LParam);
        if (measure->CtlType != ODT_MENU) return false;
        MeasureNativeMenuItem(*FSkinData, tracked, *measure);
    } else {
        auto draw = reinterpret_cast<const DRAWITEMSTRUCT*>(message.LParam);
        if (draw->CtlType != ODT_MENU) return false;
        DrawNativeMenuItem(*FSkinData, *draw, FRightToLeft);
    }
    message.Result = TRUE;
    return true;
}

// The old procedure sees the size change once; the region follows a normal window.
void TSkinForm::OnSize(TMessage& message) {
    CallPrevious(message);
    FPlacement = message.WParam == SIZE_MINIMIZED   ? TPlacement::Minimized
                 : message.WParam == SIZE_MAXIMIZED ? TPlacement::Maximized
                                                    : TPlacement::Normal;
    if (FMDIRole == TMDIRole::Child) FollowMDIPlacement();
    TSkinManage* manager = SkinManager();
    const bool mdiHeld = FMDIRole == TMDIRole::Child &&
                         ((manager && manager->MDIMaximized()) || FPlacement != TPlacement::Normal);
    if (FPlacement != TPlacement::Minimized && !mdiHeld &&
        (FAttach == TAttachState::Ready || FAttach == TAttachState::Reapplying))
        FFrame->UpdateRegion();
}

void TSkinForm::OnGetMinMaxInfo(TMessage& message) {
    CallPrevious(message);
    ReadPlacement();
    FFrame->SetNative(FPlacement == TPlacement::Minimized ||
                      (FMDIRole == TMDIRole::Child && FPlacement == TPlacement::Maximized));
    if (FBorderKind == TBorderKind::Sizing) {
        auto info = reinterpret_cast<MINMAXINFO*>(message.LParam);
        info->ptMaxTrackSize = {GetSystemMetrics(SM_CXMAXIMIZED), GetSystemMetrics(SM_CYMAXIMIZED)};
    }
    message.Result = 0;
}

bool TSkinForm::OnSysCommand(TMessage& message) {
    const WPARAM command = message.WParam & 0xFFF0;
    if (command == SC_KEYMENU && !FMenuTracking) {
        const wchar_t key = static_cast<wchar_t>(message.LParam);
        if (key == L' ') {
            POINT origin{0, 0};
            ClientToScreen(Handle, &origin);
            FCaption->SystemPopup(origin);
            message.Result = 0;
            return true;
        }
        if (key != L'-' && !GetCapture() && FMenuBar && FMenuBar->OpenByKey(key)) {
            message.Result = 1;
            return true;
        }
    }
    const bool mdiChild = FMDIRole == TMDIRole::Child;
    if (command == SC_MINIMIZE) {
        FPlacement = TPlacement::Minimized;
        if (mdiChild) FFrame->SetNative(true);
    }
    if (command == SC_MAXIMIZE) FPlacement = TPlacement::Maximized;
    if (command == SC_RESTORE) {
        FPlacement = TPlacement::Normal;
        if (TSkinManage* manager = SkinManager(); mdiChild && manager)
            manager->SetMDIMaximized(false);
        if (mdiChild) FFrame->SetNative(false);
    }
    CallPrevious(message);
    return true;
}

// DefWindowProc draws the native caption on WM_SETTEXT and WM_SETICON whenever the style
// holds the whole WS_CAPTION: hidden from it for that call, the skinned title is painted
// after.
void TSkinForm::CallHidingNativeCaption(TMessage& message) {
    const LONG_PTR style = GetWindowLongPtrW(Handle, GWL_STYLE);
    const bool hide = (style & WS_CAPTION) == WS_CAPTION && FAttach != TAttachState::Attaching &&
                      FPlacement != TPlacement::Minimized;
    if (hide) SetWindowLongPtrW(Handle, GWL_STYLE, style & ~WS_DLGFRAME);
    CallPrevious(message);
    if (hide) {
        SetWindowLongPtrW(Handle, GWL_STYLE, GetWindowLongPtrW(Handle, GWL_STYLE) | WS_DLGFRAME);
        PaintFrame();
    }
}

// New non-client metrics: the caption font, the menu bar's height and the frame are read
// again, the client area keeps its size.
void TSkinForm::OnSettingChange(TMessage& message) {
    CallPrevious(message);
    if (message.WParam != SPI_SETNONCLIENTMETRICS) return;
    FFrame->ReadCaptionFont();
    LoadFrameMetrics();
    if (FPlacement != TPlacement::Minimized && FrameDrawn()) ReapplyFrame();
}

// The title's colours may be the system's.
void TSkinForm::OnSysColorChange(TMessage& message) {
    CallPrevious(message);
    FFrame->Paint();
}

// The window's menu was changed: the bar takes the new one.
void TSkinForm::OnMenuChanged(TMessage& message) {
    const bool painting = FSkinData->FramePainting;
    FSkinData->FramePainting = false;
    CallPrevious(message);
    FSkinData->FramePainting = painting;
    HMENU menu = GetMenu(Handle);
    if (!FMenuBar || !FSkinData->MenuUpdate || !menu) return;
    if (FForm) FMenuBar->SetMainMenu(MainMenuOf(*FForm));
    FMenuBar->Build(menu);
    FFrame->Paint();
}

void TSkinForm::OnNcActivate(TMessage& message) {
    FActive = message.WParam != 0;
    if (FHoverTimer) FHoverTimer->SetEnabled(FActive);
    if (FMDIRole == TMDIRole::Frame && FMDIClient)
        SendMessageW(FMDIClient, WM_NCACTIVATE, message.WParam, 0);
    if (FMDIRole == TMDIRole::Child) CallPrevious(message);
    FFrame->Paint();
    message.Result = 1;
}

void TSkinForm::DropHot() {
    if (FHot) FHot->State = TNCState::Normal;
    FHot = nullptr;
}

void TSkinForm::Maximize() {
    if (FPlacement == TPlacement::Maximized) return Restore();
    if (TSkinManage* manager = SkinManager(); manager && FMDIRole == TMDIRole::Child)
        manager->SetMDIMaximized(true);
    FPlacement = TPlacement::Maximized;
    DropHot();
    PostMessageW(Handle, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
}

void TSkinForm::Restore() {
    FPlacement = TPlacement::Normal;
    PostMessageW(Handle, WM_SYSCOMMAND, SC_RESTORE, 0);
}

void TSkinForm::Minimize() {
    if (FPlacement == TPlacement::Minimized) return Restore();
    FPlacement = TPlacement::Minimized;
    PostMessageW(Handle, WM_SYSCOMMAND, SC_MINIMIZE, 0);
}
