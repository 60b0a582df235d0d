#include "skin/SkinCaption.h"
#include "classlib/gui/Menus.h"
#include "skin/SkinData.h"
#include "skin/SkinManage.h"
#include "skin/SkinMenuBar.h"
#include "skin/SkinMenuItem.h"
#include "skin/SkinMessages.h"
#include "skin/SkinPaint.h"

namespace {

// The window's own small icon, else its big one.
HICON WindowIcon(HWND wnd) {
    auto icon = reinterpret_cast<HICON>(SendMessageW(wnd, WM_GETICON, ICON_SMALL, 0));
    if (!icon) icon = reinterpret_cast<HICON>(SendMessageW(wnd, WM_GETICON, ICON_BIG, 0));
    return icon;
}

// The skin's small application icon, else another main form skin's; nullptr for none.
TBitmap* ApplicationIcon(TSkinData& data) {
    if (!data.SmallIcon().Empty()) return &data.SmallIcon();
    TSkinManage* manager = SkinManager();
    return manager ? manager->MainFormIcon(&data) : nullptr;
}

POINT MessagePoint(const TMessage& message) {
    return {static_cast<short>(LOWORD(message.LParam)), static_cast<short>(HIWORD(message.LParam))};
}

// The system popup's items, tagged with their command, which is also the index of
// their image; the first three match the placement they lead to.
enum class TPopupCommand { Restore = 0, Maximize = 1, Minimize = 2, Close = 3, Separator = 100 };

} // namespace

int ButtonFrame(TNCState state, bool windowActive, int frameCount) {
    constexpr int InactiveFrame = 4;
    if (state == TNCState::Normal && !windowActive && frameCount >= InactiveFrame)
        return InactiveFrame;
    return static_cast<int>(state);
}

void TNCObject::MouseDown() {
    if (FOwner.Hot() && FOwner.Hot() != this) FOwner.Hot()->MouseLeave();
    if (!Enabled) return;
    FOwner.SetHot(this);
    State = TNCState::Down;
    Paint();
}

void TNCObject::MouseUp() {
    if (!Enabled) return;
    State = TNCState::Hot;
    Paint();
}

void TNCObject::MouseEnter() {
    if (FOwner.Hot() == this) return;
    if (FOwner.Hot()) FOwner.Hot()->MouseLeave();
    if (!Enabled) return;
    FOwner.SetHot(this);
    State = TNCState::Hot;
    Paint();
}

void TNCObject::MouseLeave() {
    if (!Enabled) return;
    FOwner.SetHot(nullptr);
    State = TNCState::Normal;
    Paint();
}

TCaptionAction TWinSysButton::Action() const {
    return static_cast<TCaptionAction>(Element.Action);
}

TCaptionAlign TWinSysButton::Align() const {
    return static_cast<TCaptionAlign>(Element.Align);
}

bool TWinSysButton::IsSysMenu() const {
    return Action() == TCaptionAction::SystemMenu || Action() == TCaptionAction::IconMenu;
}

bool TWinSysButton::Laid() const {
    return Enabled && (IsSysMenu() || !Element.Bitmap.Empty());
}

bool TWinSysButton::VisibleBy(int code, bool first) const {
    const bool maximized = FOwner.Placement() == TPlacement::Maximized;
    switch (code) {
    case 0: return !(first && Action() == TCaptionAction::Close && !FOwner.HadSysMenu());
    case 1: return maximized;
    case 2: return !maximized;
    case 3: return FOwner.Active();
    case 4: return !FOwner.Active();
    case 6: return FOwner.HadMaxBox() && (!first || FOwner.HadSysMenu());
    case 7: return !FOwner.HadMaxBox();
    case 8: return FOwner.HadMinBox() && (!first || FOwner.HadSysMenu());
    case 9: return !FOwner.HadMinBox();
    case 100: return FOwner.MenuBar() && FOwner.MDIChildMaximized();
    case 200: return FOwner.BorderKind() == TBorderKind::Dialog && !FOwner.DialogClass();
    }
    if (code > 200 && code < 1000) return true;
    if (code >= 1000 && code <= 2000)
        return !first || SendMessageW(FOwner.Handle, WM_SKINBUTTONVISIBLE, FIndex, 0) >= 1;
    return false; // 5 and every other code
}

void TWinSysButton::UpdateVisible() {
    bool visible = VisibleBy(Element.Visibility, true) && VisibleBy(Element.Visibility1, false);
    if (Action() == TCaptionAction::Maximize) visible = visible && FOwner.HadMaxBox();
    if (Action() == TCaptionAction::Minimize) visible = visible && FOwner.HadMinBox();
    if (IsSysMenu() || Action() == TCaptionAction::SystemMenuAlt)
        visible = visible && FOwner.BorderKind() != TBorderKind::Dialog;
    Enabled = visible;
}

void TWinSysButton::Layout(int windowWidth) {
    int w = GetSystemMetrics(SM_CXSMICON), h = GetSystemMetrics(SM_CYSMICON);
    if (!IsSysMenu()) {
        w = Element.FrameWidth();
        h = Element.Bitmap.Height();
    }
    const RECT& text = FOwner.Frame().TextRect();
    const int y = Element.Ycoord;
    const int x = Element.Xcoord;
    switch (Align()) {
    case TCaptionAlign::Left: Rect = {x, y, x + w, y + h}; break;
    case TCaptionAlign::Right: Rect = {windowWidth - x, y, windowWidth - x + w, y + h}; break;
    case TCaptionAlign::BeforeText:
    case TCaptionAlign::BeforeTextAlt: Rect = {text.left - w - x, y, text.left - x, y + h}; break;
    case TCaptionAlign::AfterText:
    case TCaptionAlign::AfterTextAlt: Rect = {text.right + x, y, text.right + x + w, y + h}; break;
    case TCaptionAlign::MenuBar: {
        const TFrameMetrics& m = FOwner.Metrics();
        const TDataSkinObject* bar = FOwner.SkinData()->Elements().MenuBar.get();
        const int margin = bar ? bar->LeftWidth : 0;
        const int left =
            FOwner.RightToLeft() ? m.Left + x + margin : windowWidth - x - m.Right - margin;
        const int top = m.Title + (m.MenuBar - h) / 2;
        Rect = {left, top, left + w, top + h};
        break;
    }
    default: Rect = {0, 0, w, h};
    }
}

void TWinSysButton::PaintInto(HDC dc, int frame) {
    if (IsSysMenu()) {
        // The window's icon (else the program's), whatever picture the skin gives.
        const int w = GetSystemMetrics(SM_CXSMICON), h = GetSystemMetrics(SM_CYSMICON);
        if (HICON icon = WindowIcon(FOwner.Handle))
            DrawIconEx(dc, Rect.left, Rect.top, icon, w, h, 0, nullptr, DI_NORMAL);
        else if (TBitmap* icon = ApplicationIcon(*FOwner.SkinData()))
            DrawSkinFrame(dc, Rect, *icon, true, 1, 1);
        return;
    }
    DrawSkinFrame(dc, Rect, Element.Bitmap, true, Element.FrameCount, frame);
}

void TWinSysButton::Paint() {
    if (Align() == TCaptionAlign::MenuBar) return PaintInMenuBar();
    if (!Laid()) return;
    FOwner.Frame().PaintOverTitle(Rect, [&](HDC dc) {
        PaintInto(dc, ButtonFrame(State, FOwner.Active(), Element.FrameCount));
    });
}

// Over the menu bar's own background; a hot button shows frame 4.
void TWinSysButton::PaintInMenuBar() {
    TSkinMenu* bar = FOwner.MenuBar();
    const int w = Rect.right - Rect.left, h = Rect.bottom - Rect.top;
    if (!bar || !Laid() || Element.Bitmap.Empty() || bar->Background.Empty() || w <= 0 || h <= 0)
        return;
    constexpr int HotFrame = 4;
    const int frame = State == TNCState::Hot ? HotFrame : static_cast<int>(State);
    FOwner.Frame().PaintPart(Rect, [&](HDC dc) {
        BitBlt(dc, Rect.left, Rect.top, w, h, bar->Background.Canvas().Handle(),
               Rect.left - bar->BarRect.left, Rect.top - bar->BarRect.top, SRCCOPY);
        DrawSkinFrame(dc, Rect, Element.Bitmap, true, Element.FrameCount,
                      std::min(frame, Element.FrameCount));
    });
}

void TCaptionButtons::Make() {
    FForm.SetHot(nullptr);
    FButtons.clear();
    int index = 0;
    for (auto& element : FForm.SkinData()->Elements().SysButtons)
        FButtons.push_back(std::make_unique<TWinSysButton>(FForm, *element, index++));
}

void TCaptionButtons::Layout(int width) {
    FRightButtonLeft = 0;
    for (auto& button : FButtons) {
        button->UpdateVisible();
        if (!button->Laid()) continue;
        button->Layout(width);
        if (button->Align() == TCaptionAlign::Right)
            FRightButtonLeft = std::max<int>(FRightButtonLeft, button->Rect.left);
    }
}

void TCaptionButtons::Paint(HDC titleDC) {
    for (auto& button : FButtons) {
        if (!button->Laid() || button->Align() == TCaptionAlign::MenuBar) continue;
        button->State = TNCState::Normal;
        button->PaintInto(
            titleDC, ButtonFrame(TNCState::Normal, FForm.Active(), button->Element.FrameCount));
    }
}

TNCObject* TCaptionButtons::ObjectAt(POINT p) const {
    for (auto& button : FButtons)
        if (button->Laid() && button->Element.Action >= 0 && PtInRect(&button->Rect, p))
            return button.get();
    return FForm.MenuBar() ? FForm.MenuBar()->ButtonAt(p) : nullptr;
}

void TCaptionButtons::OnNcMouseMove(TMessage& message) {
    message.Result = 0;
    if (!FForm.Active()) return;
    if (TNCObject* object = ObjectAt(FForm.WindowPoint(MessagePoint(message)))) {
        object->MouseEnter();
        return;
    }
    if (FForm.Hot()) FForm.Hot()->MouseLeave();
    FForm.CallPrevious(message);
}

void TCaptionButtons::OnNcLButtonDown(TMessage& message) {
    TNCObject* object = ObjectAt(FForm.WindowPoint(MessagePoint(message)));
    if (!object) {
        if (FForm.Placement() == TPlacement::Maximized && FForm.Active() &&
            message.WParam == HTCAPTION)
            message.WParam = HTMENU;
        return FForm.CallPrevious(message);
    }
    if (!FForm.Active()) SetForegroundWindow(FForm.Handle);
    object->MouseDown();
    if (FForm.MenuBar()) FForm.MenuBar()->Clicked(object);
    message.Result = 0;
}

void TCaptionButtons::OnNcLButtonUp(TMessage& message) {
    const POINT screen = MessagePoint(message);
    TNCObject* object = ObjectAt(FForm.WindowPoint(screen));
    if (!object) return FForm.CallPrevious(message);
    message.Result = 0;
    auto button = dynamic_cast<TWinSysButton*>(object);
    if (!button || button != FForm.Hot()) return;
    button->MouseUp();
    switch (button->Action()) {
    case TCaptionAction::Close:
        FForm.StopHover();
        PostMessageW(FForm.Handle, WM_SYSCOMMAND, SC_CLOSE, 0);
        break;
    case TCaptionAction::Maximize:
    case TCaptionAction::MaximizeAlt: FForm.Maximize(); break;
    case TCaptionAction::Minimize:
    case TCaptionAction::MinimizeAlt: FForm.Minimize(); break;
    case TCaptionAction::SystemMenu:
    case TCaptionAction::IconMenu:
    case TCaptionAction::SystemMenuAlt: SystemPopup({screen.x + 1, screen.y + 1}); break;
    case TCaptionAction::ChildMinimize:
    case TCaptionAction::ChildMinimizeAlt: FForm.MDIChildCommand(SC_MINIMIZE); break;
    case TCaptionAction::ChildRestore:
    case TCaptionAction::ChildRestoreAlt: FForm.MDIChildCommand(SC_RESTORE); break;
    case TCaptionAction::ChildClose:
    case TCaptionAction::ChildCloseAlt: FForm.MDIChildCommand(SC_CLOSE); break;
    default: PostMessageW(FForm.Handle, WM_SKINSYSBUTTON, button->Element.Action, 0);
    }
}

void TCaptionButtons::OnNcLButtonDblClk(TMessage& message) {
    message.Result = 0;
    if (TNCObject* object = ObjectAt(FForm.WindowPoint(MessagePoint(message)))) {
        auto button = dynamic_cast<TWinSysButton*>(object);
        if (button && button->IsSysMenu()) {
            FForm.StopHover();
            PostMessageW(FForm.Handle, WM_SYSCOMMAND, SC_CLOSE, 0);
        }
        return;
    }
    if (message.WParam != HTCAPTION) return FForm.CallPrevious(message);
    if (FForm.Placement() != TPlacement::Normal)
        FForm.Restore();
    else if (FForm.HadMaxBox())
        FForm.Maximize();
    else
        FForm.CallPrevious(message);
}

void TCaptionButtons::OnNcRButtonDown(TMessage& message) {
    if (message.WParam != HTCAPTION || FForm.MDIRole() == TMDIRole::Child)
        return FForm.CallPrevious(message);
    SystemPopup(MessagePoint(message));
    message.Result = 0;
}

void TCaptionButtons::MakeSystemPopup() {
    FSystemPopup = new TPopupMenu(&FForm);
    TMenuItem& items = FSystemPopup->Items();
    auto add = [this, &items](const char* caption, TPopupCommand command) {
        auto item = new TMenuItem(FSystemPopup);
        item->SetCaption(caption);
        item->SetTag(static_cast<int>(command));
        if (command != TPopupCommand::Separator) item->SetImageIndex(static_cast<int>(command));
        item->OnClick = [this, command](TObject*) {
            switch (command) {
            case TPopupCommand::Restore: FForm.Restore(); break;
            case TPopupCommand::Maximize: FForm.Maximize(); break;
            case TPopupCommand::Minimize: FForm.Minimize(); break;
            case TPopupCommand::Close:
                FForm.StopHover();
                PostMessageW(FForm.Handle, WM_CLOSE, 0, 0);
                break;
            case TPopupCommand::Separator: break;
            }
        };
        items.Add(item);
        return item;
    };
    add(" Restore ", TPopupCommand::Restore);
    if (FForm.HadMaxBox()) add(" Maximize ", TPopupCommand::Maximize);
    if (FForm.HadMinBox()) add(" Minimize ", TPopupCommand::Minimize);
    add("-", TPopupCommand::Separator);
    add(" Close ", TPopupCommand::Close)->SetShortCutText("ALT+F4");
    FSystemPopup->Images = &FForm.SkinData()->MenuImages();
    FSystemPopup->SetTag(33333);
    SkinFormPopupMenus(&FForm, FForm.SkinData(), FForm.RightToLeft());
}

void TCaptionButtons::SystemPopup(POINT screen) {
    TMenuItem& items = FSystemPopup->Items();
    for (int i = 0; i < items.Count(); ++i) {
        TMenuItem* item = items.Items(i);
        // The command that leads to the window's placement is off.
        const int tag = item->Tag();
        if (tag >= 0 && tag <= static_cast<int>(TPopupCommand::Minimize))
            item->SetEnabled(FForm.Placement() != static_cast<TPlacement>(tag));
    }
    const DWORD now = GetTickCount(), doubleClick = GetDoubleClickTime();
    if (now - FLastPopup > doubleClick || static_cast<int>(doubleClick) < 0) {
        if (TSkinManage* manager = SkinManager()) manager->MenuKind = TMenuKind::System;
        FLastPopup = now;
        if ((FForm.SkinData()->SkinControls & SkinKind(xcSystemMenu)) &&
            FForm.MDIRole() != TMDIRole::Child)
            FSystemPopup->Popup(screen.x, screen.y, FForm.Handle);
        else
            TrackPopupMenu(GetSystemMenu(FForm.Handle, FALSE), TPM_RIGHTBUTTON, screen.x, screen.y,
                           0, FForm.Handle, nullptr);
    } else if (FForm.Hot()) {
        FForm.StopHover();
        PostMessageW(FForm.Handle, WM_CLOSE, 0, 0);
    }
}
