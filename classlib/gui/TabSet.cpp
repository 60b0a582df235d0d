#include "classlib/gui/TabSet.h"
#include "classlib/base/SysUtils.h"
#include "classlib/gui/TypInfo.h"
#include <algorithm>

namespace {

[[maybe_unused]] const bool Registered = RegisterPublished<TTabSet>({
    Published("TabIndex", &TTabSet::TabIndex, &TTabSet::SetTabIndex),
    Published("StartMargin", &TTabSet::StartMargin, &TTabSet::SetStartMargin),
    Published("EndMargin", &TTabSet::EndMargin, &TTabSet::SetEndMargin),
});

} // namespace

TTabSet::TTabSet(TComponent* owner) : TCustomControl(owner) {
    FWidth = 185;
    FHeight = 21;
}

void TTabSet::SetTabs(std::vector<std::string> tabs) {
    FTabs = std::move(tabs);
    if (FTabIndex >= static_cast<int>(FTabs.size())) FTabIndex = -1;
    FFirstIndex = std::clamp(FFirstIndex, 0, std::max(0, static_cast<int>(FTabs.size()) - 1));
    Invalidate();
}

void TTabSet::SetTabIndex(int index) {
    if (index < -1 || index >= static_cast<int>(FTabs.size()) || index == FTabIndex) return;
    FTabIndex = index;
    Invalidate();
    if (OnChange) OnChange(this);
}

void TTabSet::SetStartMargin(int value) {
    FStartMargin = std::max(0, value);
    Invalidate();
}

void TTabSet::SetEndMargin(int value) {
    FEndMargin = std::max(0, value);
    Invalidate();
}

void TTabSet::SetFirstIndex(int index) {
    if (index < 0 || index >= static_cast<int>(FTabs.size())) return;
    FFirstIndex = index;
    Invalidate();
}

int TTabSet::TabWidth(int index) {
    if (!HandleAllocated()) return 0;
    TWindowDC dc(Handle());
    TSelectScope font(dc.Get(), Font().Handle());
    const std::wstring text = ToWide(FTabs.at(index));
    SIZE size{};
    GetTextExtentPoint32W(dc.Get(), text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx + 9;
}

RECT TTabSet::TabRect(int index) {
    int x = FStartMargin;
    const int limit = ClientWidth() - FEndMargin;
    for (int i = FFirstIndex; i < static_cast<int>(FTabs.size()); ++i) {
        const int w = TabWidth(i);
        if (x + w > limit) continue;
        if (i == index) return {x, 0, x + w, ClientHeight()};
        x += w;
    }
    return {};
}

void TTabSet::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomControl::MouseDown(button, shift, x, y);
    if (button != mbLeft) return;
    for (int i = FFirstIndex; i < static_cast<int>(FTabs.size()); ++i) {
        const RECT r = TabRect(i);
        if (PtInRect(&r, {x, y})) return SetTabIndex(i);
    }
}

// Each tab a trapezium hanging from the top edge; the selected one on the face colour.
void TTabSet::Paint() {
    TCanvas& canvas = Canvas();
    const RECT all{0, 0, ClientWidth(), ClientHeight()};
    canvas.Brush().SetColor(Color());
    canvas.FillRect(all);
    HDC dc = canvas.Handle();
    SetBkMode(dc, TRANSPARENT);
    for (int i = FFirstIndex; i < static_cast<int>(FTabs.size()); ++i) {
        const RECT r = TabRect(i);
        if (IsRectEmpty(&r)) continue;
        const POINT shape[4] = {
            {r.left, 0}, {r.left + 4, r.bottom - 2}, {r.right - 4, r.bottom - 2}, {r.right, 0}};
        TBrushHandle face(
            CreateSolidBrush(GetSysColor(i == FTabIndex ? COLOR_BTNFACE : COLOR_3DLIGHT)));
        TSelectScope brush(dc, face.Get());
        Polygon(dc, shape, 4);
        RECT text = r;
        const std::wstring caption = ToWide(FTabs[i]);
        DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &text,
                  DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    }
}
