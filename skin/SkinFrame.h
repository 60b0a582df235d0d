#pragma once
// TSkinFrame: the non-client area of a skinned window drawn from the skin: the frame
// metrics, the native caption bits it hides and gives back, the painting of borders
// and title (the caption buttons draw themselves into it), the window region cut from
// the borders' key pixels and the client size kept inside the skinned frame. It is
// part of a TSkinForm, which routes it the non-client messages. Main thread.
#include "classlib/gui/Bitmap.h"
#include "classlib/gui/Graphics.h"
#include "classlib/gui/Messages.h"
#include <string>

class TSkinData;
class TSkinForm;

// True on the Windows NT line from XP on (5.1, or any later version): there a skinned
// window keeps its native caption style and loses only its caption buttons.
bool KeepsNativeCaption(DWORD platformId, DWORD major, DWORD minor);

// Left border width, title height, right and bottom border, menu bar height.
struct TFrameMetrics {
    int Left = 0, Title = 0, Right = 0, Bottom = 0, MenuBar = 0;
};

class TSkinFrame {
public:
    explicit TSkinFrame(TSkinForm& form);
    TSkinFrame(const TSkinFrame&) = delete;
    TSkinFrame& operator=(const TSkinFrame&) = delete;

    // The window's caption bits and client size as the skin takes it over.
    void Attach(LONG_PTR style, bool child, SIZE client);
    void SetMenuBarHeight(int height) { FMetrics.MenuBar = height; }
    // Metrics from the skin; the caption buttons are made anew.
    void Load();
    // Hides the native caption (its buttons, or all of it) or gives it back.
    void SetNative(bool restore);
    void Paint(HDC given = nullptr);
    void UpdateRegion();
    void ClearRegion();
    void KeepClientSize();
    // The title picture is stale: drawn again at the next paint.
    void ForgetTitle() { FTitle.SetSize(0, 0); }
    void OnNcCalcSize(TMessage& message);
    void OnNcHitTest(TMessage& message);
    void OnNcPaint(TMessage& message);

    [[nodiscard]] const TFrameMetrics& Metrics() const { return FMetrics; }
    [[nodiscard]] bool HadSysMenu() const { return FSavedBits & sbSysMenu; }
    [[nodiscard]] bool HadMaxBox() const { return FSavedBits & sbMaxBox; }
    [[nodiscard]] bool HadMinBox() const { return FSavedBits & sbMinBox; }
    // The title as painted before the caption buttons: what a button's new state is
    // drawn over.
    [[nodiscard]] TBitmap& TitleBackground() { return FTitleBack; }
    [[nodiscard]] const RECT& TextRect() const { return FTextRect; }

private:
    [[nodiscard]] const TSkinData& Data() const;
    // Drawn from the skin now: attached, with a frame, not minimized.
    [[nodiscard]] bool Shown() const;
    void PaintTitle(HDC dc, TBitmap& left, TBitmap& right);
    void PaintCaptionText(HDC dc);
    [[nodiscard]] std::string CaptionText() const;
    [[nodiscard]] int WidenForCaption(int width) const;

    TSkinForm& FForm;
    // The native caption bits the window had.
    enum : unsigned { sbMaxBox = 1, sbMinBox = 2, sbSysMenu = 8, sbCaption = 16 };
    unsigned FSavedBits = 0;
    bool FChild = false;
    TFrameMetrics FMetrics;
    bool FRegionSet = false;
    SIZE FRegionSize{0, 0};
    SIZE FAttachClient{0, 0}; // the client size before the menu bar took the window's menu
    RECT FTextRect{};
    TGdiObject FCaptionFont;
    TBitmap FTitle, FTitleBack;
};
