#include "skin/SkinPopMenu.h"
#include "skin/SkinData.h"
#include "skin/SkinManage.h"
#include "skin/SkinMessages.h"

void TSkinPopMenu::Hook(HWND wnd, TSkinData* data, TObject* owner) {
    FHandle = wnd;
    FData = data;
    Owner = owner;
    FSubclass =
        std::make_unique<TWindowSubclass>(wnd, TWndMethod::Of<&TSkinPopMenu::WndProc>(this));
}

void TSkinPopMenu::Unhook() {
    FSubclass.reset();
    FFrame.reset();
}

bool TSkinPopMenu::CanPaint() const {
    const auto& background = FData->Elements().MenuBackground;
    return FData->SkinReady() && background && !background->Bitmap.Empty();
}

void TSkinPopMenu::MakeFrame() {
    RECT r;
    GetWindowRect(FHandle, &r);
    auto& background = *FData->Elements().MenuBackground;
    if (!FFrame) FFrame = std::make_unique<TBitmap>();
    FFrame->SetSize(r.right - r.left, r.bottom - r.top); // kept while the size stays
    DrawSkinRect(FFrame->Canvas().Handle(), {0, 0, FFrame->Width(), FFrame->Height()},
                 background.Bitmap, false, background.Tile, false, 1, 1, background.Margins());
}

TBitmap* TSkinPopMenu::Picture() {
    if (!FSubclass || !CanPaint()) return nullptr;
    RECT r;
    GetWindowRect(FHandle, &r);
    if (!FFrame || FFrame->Width() != r.right - r.left || FFrame->Height() != r.bottom - r.top)
        MakeFrame();
    return FFrame.get();
}

// The outer ring of the frame picture, FrameWidth pixels wide.
void TSkinPopMenu::PaintFrame(HDC dc) {
    MakeFrame();
    const int w = FFrame->Width(), h = FFrame->Height(), f = FrameWidth;
    HDC src = FFrame->Canvas().Handle();
    BitBlt(dc, 0, 0, w, f, src, 0, 0, SRCCOPY);
    BitBlt(dc, 0, h - f, w, f, src, 0, h - f, SRCCOPY);
    BitBlt(dc, 0, 0, f, h, src, 0, 0, SRCCOPY);
    BitBlt(dc, w - f, 0, f, h, src, w - f, 0, SRCCOPY);
}

void TSkinPopMenu::Print(TMessage& message) {
    HDC dc = reinterpret_cast<HDC>(message.WParam);
    MakeFrame();
    BitBlt(dc, 0, 0, FFrame->Width(), FFrame->Height(), FFrame->Canvas().Handle(), 0, 0, SRCCOPY);
    const int mode = SetBkMode(dc, TRANSPARENT);
    TRegionHandle clip(CreateRectRgn(FrameWidth, FrameWidth, FFrame->Width() - FrameWidth,
                                     FFrame->Height() - FrameWidth));
    SelectClipRgn(dc, clip.Get());
    FSubclass->CallPrevious(message);
    SelectClipRgn(dc, nullptr);
    SetBkMode(dc, mode);
}

void TSkinPopMenu::WndProc(TMessage& message) {
    if (message.Msg == WM_SKINQUERY) {
        message.Result = 1;
        return;
    }
    TSkinManage* manager = SkinManager();
    if (!manager || !manager->Active) return FSubclass->CallPrevious(message);
    switch (message.Msg) {
    case WM_DESTROY:
        FSubclass->CallPrevious(message);
        Unhook(); // the subclass may go while its handler runs
        return;
    case WM_NCPAINT: {
        if (!CanPaint()) break;
        PaintFrame(TWholeWindowDC(FHandle).Get());
        message.Result = 0;
        return;
    }
    case WM_PAINT: {
        FSubclass->CallPrevious(message);
        // Menus without a non-client area (Wine's) draw their frame inside the client
        // area: the skin's frame goes over it.
        RECT window, client;
        GetWindowRect(FHandle, &window);
        GetClientRect(FHandle, &client);
        if (CanPaint() && client.right == window.right - window.left &&
            client.bottom == window.bottom - window.top)
            PaintFrame(TWindowDC(FHandle).Get());
        return;
    }
    case WM_PRINT:
        if (!CanPaint()) break;
        return Print(message);
    }
    FSubclass->CallPrevious(message);
}
