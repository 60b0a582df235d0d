#include "classlib/gui/Memo.h"
#include "classlib/gui/TypInfo.h"
#include <vector>

namespace {

[[maybe_unused]] const bool Registered = RegisterPublished<TMemo>({
    Published("ReadOnly", &TMemo::ReadOnly, &TMemo::SetReadOnly),
});

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find("\r\n", start);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

}  // namespace

TMemo::TMemo(TComponent* owner) : TWinControl(owner) {
    FWidth = 185;
    FHeight = 89;
    SetTabStop(true);
    SetColor(clWindow);
}

void TMemo::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.SysClassName = "EDIT";
    params.Style |= ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
    params.ExStyle |= WS_EX_CLIENTEDGE;
    if (FReadOnly) params.Style |= ES_READONLY;
    if (FScrollBars == ssHorizontal || FScrollBars == ssBoth) params.Style |= WS_HSCROLL | ES_AUTOHSCROLL;
    if (FScrollBars == ssVertical || FScrollBars == ssBoth) params.Style |= WS_VSCROLL;
}

// No limit but memory: a long cleaning log must not stop growing.
void TMemo::InitializeWnd() { SendMessageA(Handle(), EM_SETLIMITTEXT, 0, 0); }

void TMemo::SetReadOnly(bool value) {
    FReadOnly = value;
    if (HandleAllocated()) SendMessageA(Handle(), EM_SETREADONLY, value, 0);
}

void TMemo::SetScrollBars(TScrollStyle value) {
    FScrollBars = value;
    RecreateWnd();
}

int TMemo::LineCount() const { return static_cast<int>(SplitLines(Text()).size()); }

std::string TMemo::Line(int index) const {
    std::vector<std::string> lines = SplitLines(Text());
    return index >= 0 && index < static_cast<int>(lines.size()) ? lines[index] : std::string();
}

void TMemo::AddLine(const std::string& line) {
    if (!HandleAllocated()) {
        SetText(FText.empty() ? line : FText + "\r\n" + line);
        return;
    }
    HWND wnd = HandleIfAllocated();
    int length = GetWindowTextLengthA(wnd);
    std::string added = length ? "\r\n" + line : line;
    SendMessageA(wnd, EM_SETSEL, length, length);
    SendMessageA(wnd, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(added.c_str()));
    SendMessageA(wnd, EM_SCROLLCARET, 0, 0);
}
