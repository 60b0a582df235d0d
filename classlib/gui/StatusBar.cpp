#include "classlib/gui/StatusBar.h"
#include "classlib/base/SysUtils.h"
#include <commctrl.h>

TStatusBar::TStatusBar(TComponent* owner) : TWinControl(owner) {
    FHeight = 19;
    SetAlign(alBottom);
}

void TStatusBar::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.SysClassName = STATUSCLASSNAMEA;
    params.Style |= CCS_NOPARENTALIGN | CCS_NORESIZE | (FSizeGrip ? SBARS_SIZEGRIP : 0);
}

void TStatusBar::InitializeWnd() {
    ApplyPanels();
}

// An owner-drawn part is drawn through its parent's WM_DRAWITEM, reflected here.
void TStatusBar::WndProc(TMessage& message) {
    if (message.Msg != CN_DRAWITEM) return TWinControl::WndProc(message);
    const auto& draw = *reinterpret_cast<const DRAWITEMSTRUCT*>(message.LParam);
    if (OnDrawPanel && int(draw.itemID) < PanelCount())
        OnDrawPanel(this, static_cast<int>(draw.itemID), draw.hDC, draw.rcItem);
    message.Result = TRUE;
}

void TStatusBar::AddPanel(const TStatusPanel& panel) {
    FPanels.push_back(panel);
    ApplyPanels();
}

void TStatusBar::SetPanel(int index, const TStatusPanel& panel) {
    FPanels.at(index) = panel;
    ApplyPanels();
}

void TStatusBar::SetSimplePanel(bool value) {
    FSimplePanel = value;
    ApplyPanels();
}

void TStatusBar::SetSimpleText(const std::string& text) {
    FSimpleText = text;
    ApplyPanels();
}

void TStatusBar::SetSizeGrip(bool value) {
    if (FSizeGrip == value) return;
    FSizeGrip = value;
    if (HandleAllocated()) RecreateWnd();
}

// The window's parts: each panel ends where the next begins, the last at the edge.
void TStatusBar::ApplyPanels() {
    if (!HandleAllocated()) return;
    HWND wnd = Handle();
    const bool simple = FSimplePanel || FPanels.empty();
    SendMessageW(wnd, SB_SIMPLE, simple, 0);
    if (simple) {
        const std::wstring text = ToWide(FSimpleText);
        SendMessageW(wnd, SB_SETTEXTW, SB_SIMPLEID, reinterpret_cast<LPARAM>(text.c_str()));
        return;
    }
    std::vector<int> ends;
    int x = 0;
    for (const TStatusPanel& panel : FPanels)
        ends.push_back(x += panel.Width);
    ends.back() = -1;
    SendMessageW(wnd, SB_SETPARTS, ends.size(), reinterpret_cast<LPARAM>(ends.data()));
    for (size_t i = 0; i < FPanels.size(); ++i) {
        const TStatusPanel& panel = FPanels[i];
        WPARAM kind = panel.Bevel == pbNone     ? SBT_NOBORDERS
                      : panel.Bevel == pbRaised ? SBT_POPOUT
                                                : 0;
        if (panel.Style == psOwnerDraw) kind |= SBT_OWNERDRAW;
        const std::wstring text = ToWide(panel.Text);
        SendMessageW(wnd, SB_SETTEXTW, i | kind, reinterpret_cast<LPARAM>(text.c_str()));
    }
}
