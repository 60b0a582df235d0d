#include "classlib/gui/Animate.h"
#include "classlib/base/Handle.h"
#include "classlib/gui/Bitmap.h"
#include "classlib/gui/TypInfo.h"
#include <commctrl.h>

namespace {

[[maybe_unused]] const bool Registered = RegisterPublished<TAnimate>({
    Published("CommonAVI", &TAnimate::CommonAVI, &TAnimate::SetCommonAVI,
              {"aviNone", "aviFindFolder", "aviFindFile", "aviFindComputer", "aviCopyFiles",
               "aviCopyFile", "aviRecycleFile", "aviEmptyRecycle", "aviDeleteFile"}),
    Published("Active", &TAnimate::Active, &TAnimate::SetActive),
    Published("StartFrame", &TAnimate::StartFrame, &TAnimate::SetStartFrame),
    Published("StopFrame", &TAnimate::StopFrame, &TAnimate::SetStopFrame),
    Published("Repetitions", &TAnimate::Repetitions, &TAnimate::SetRepetitions),
});

// The shell's resource ids of the common clips, in TCommonAVI order.
constexpr int ClipIds[] = {0, 150, 151, 152, 160, 161, 162, 163, 164};

// Whether the control paints any pixel of its clip: Wine opens the shell's clips but
// draws none of their frames.
bool DrawsFrame(HWND control) {
    RECT client{};
    GetClientRect(control, &client);
    TBitmap probe;
    probe.SetSize(client.right, client.bottom); // black: no frame is all black
    SendMessageW(control, WM_PAINT, reinterpret_cast<WPARAM>(probe.Canvas().Handle()), 0);
    GdiFlush();
    for (int y = 0; y < probe.Height(); ++y)
        for (int x = 0; x < probe.Width(); ++x)
            if (probe.ScanLine(y)[x] != 0) return true;
    return false;
}

HMODULE ShellModule() {
    static TLibraryHandle shell(LoadLibraryExW(L"shell32.dll", nullptr, LOAD_LIBRARY_AS_DATAFILE));
    return shell.Get();
}

} // namespace

TAnimate::TAnimate(TComponent* owner) : TWinControl(owner) {
    FWidth = 100;
    FHeight = 80;
}

void TAnimate::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.SysClassName = ANIMATE_CLASSA;
    params.Style |= ACS_CENTER | ACS_TRANSPARENT;
}

void TAnimate::InitializeWnd() {
    OpenClip();
    ApplyActive();
}

void TAnimate::SetCommonAVI(TCommonAVI value) {
    FCommonAVI = value;
    OpenClip();
    ApplyActive();
}

void TAnimate::SetActive(bool value) {
    FActive = value;
    ApplyActive();
}

void TAnimate::OpenClip() {
    FOpen = false;
    if (!HandleAllocated()) return;
    SendMessageW(Handle(), ACM_OPENW, 0, 0); // closes the previous clip
    HMODULE shell = ShellModule();
    if (FCommonAVI == aviNone || !shell) return;
    FOpen = SendMessageW(Handle(), ACM_OPENW, reinterpret_cast<WPARAM>(shell),
                         reinterpret_cast<LPARAM>(MAKEINTRESOURCEW(ClipIds[FCommonAVI]))) != 0 &&
            DrawsFrame(Handle());
}

void TAnimate::ApplyActive() {
    if (!HandleAllocated() || !FOpen) return;
    if (!FActive) {
        SendMessageW(Handle(), ACM_STOP, 0, 0);
        return;
    }
    WPARAM times = FRepetitions > 0 ? static_cast<WPARAM>(FRepetitions) : static_cast<WPARAM>(-1);
    WORD from = static_cast<WORD>(FStartFrame > 0 ? FStartFrame - 1 : 0);
    WORD to = static_cast<WORD>(FStopFrame > 0 ? FStopFrame - 1 : 0xFFFF);
    SendMessageW(Handle(), ACM_PLAY, times, MAKELPARAM(from, to));
}
