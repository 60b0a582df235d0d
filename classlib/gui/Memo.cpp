#include "classlib/gui/Memo.h"
#include "classlib/base/StringList.h"
#include "classlib/base/SysUtils.h"
#include "classlib/gui/TypInfo.h"

namespace {

[[maybe_unused]] const bool Registered = RegisterPublished<TMemo>({
    Published("ScrollBars", &TMemo::ScrollBars, &TMemo::SetScrollBars,
              {"ssNone", "ssHorizontal", "ssVertical", "ssBoth"}),
    Published("WordWrap", &TMemo::WordWrap, &TMemo::SetWordWrap),
});

TStringList Split(const std::string& text) {
    TStringList list;
    list.SetText(text);
    return list;
}

} // namespace

int TMemoLines::Count() const {
    return Split(FMemo.Text()).Count();
}

std::string TMemoLines::operator[](int index) const {
    return Split(FMemo.Text())[index];
}

void TMemoLines::Add(const std::string& line) {
    std::string text = FMemo.Text();
    bool open = !text.empty() && text.back() != '\n';
    FMemo.AppendText((open ? "\r\n" : "") + line + "\r\n");
}

void TMemoLines::Delete(int index) {
    TStringList list = Split(FMemo.Text());
    list.Delete(index);
    FMemo.SetText(list.Text());
}

void TMemoLines::Clear() {
    FMemo.SetText("");
}

std::string TMemoLines::Text() const {
    return FMemo.Text();
}

void TMemoLines::SetText(const std::string& text) {
    FMemo.SetText(text);
}

TMemo::TMemo(TComponent* owner) : TCustomMemo(owner), FLines(*this) {
    FWidth = 185;
    FHeight = 89;
}

void TMemo::CreateParams(TCreateParams& params) {
    TCustomEdit::CreateParams(params);
    params.Style |= ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL;
    if (!FWordWrap) params.Style |= ES_AUTOHSCROLL;
    if (FScrollBars == ssVertical || FScrollBars == ssBoth) params.Style |= WS_VSCROLL;
    if (FScrollBars == ssHorizontal || FScrollBars == ssBoth) params.Style |= WS_HSCROLL;
}

void TMemo::AppendText(const std::string& text) {
    if (!HandleAllocated()) return SetText(Text() + text);
    HWND wnd = Handle();
    int end = GetWindowTextLengthW(wnd);
    SendMessageW(wnd, EM_SETSEL, end, end);
    SendMessageW(wnd, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(ToWide(text).c_str()));
}

void TMemo::SetScrollBars(TScrollStyle value) {
    FScrollBars = value;
    RecreateWnd();
}

void TMemo::SetWordWrap(bool value) {
    FWordWrap = value;
    RecreateWnd();
}
