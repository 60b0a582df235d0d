#pragma once
// TSkinFrame: the non-client area of a skinned window drawn from the skin: the frame
// metrics, the native caption bits it hides and gives back, the painting of borders
// and title (the caption buttons draw themselves into it), the window region cut from
// the borders' key pixels and the client size kept inside the skinned frame. The
// borders are kept for the window's size and active state; the title and the caption
// buttons' new looks are composed in one buffer. It is part of a TSkinForm, which
// routes it the non-client messages. Main thread.
#include "classlib/gui/Bitmap.h"
#include "classlib/gui/Graphics.h"
#include "classlib/gui/Messages.h"
#include "skin/SkinPaint.h"
#include <functional>
#include <memory>
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
    // The client size kept at activation.
    void SetAttachClient(SIZE client) { FAttachClient = client; }
    [[nodiscard]] bool RegionSet() const { return FRegionSet; }
    // Metrics from the skin; the caption buttons are made anew.
    void Load();
    // The caption font from the system's non-client metrics.
    void ReadCaptionFont();
    // Hides the native caption (its buttons, or all of it) or gives it back.
    void SetNative(bool restore);
    void Paint();
    // draw composes the rectangle (window coordinates) in the frame's buffer, which is
    // then copied to the window.
    void PaintPart(const RECT& rect, const std::function<void(HDC)>& draw);
    // A caption button's new look: draw goes over the title's own background, so no
    // trace of the last state is left.
    void PaintOverTitle(const RECT& rect, const std::function<void(HDC)>& draw);
    void UpdateRegion();
    void ClearRegion();
    void KeepClientSize();
    // The title and borders are stale (the skin changed): drawn again at the next paint.
    void ForgetPictures();
    void OnNcCalcSize(TMessage& message);
    void OnNcHitTest(TMessage& message);
    void OnNcPaint(TMessage& message);

    [[nodiscard]] const TFrameMetrics& Metrics() const { return FMetrics; }
    [[nodiscard]] bool HadSysMenu() const { return FSavedBits & sbSysMenu; }
    [[nodiscard]] bool HadMaxBox() const { return FSavedBits & sbMaxBox; }
    [[nodiscard]] bool HadMinBox() const { return FSavedBits & sbMinBox; }
    [[nodiscard]] const RECT& TextRect() const { return FTextRect; }

private:
    // The four borders drawn for one window size and active state.
    struct TBorders {
        SIZE Size{0, 0};
        bool Active = false;
        std::unique_ptr<TBitmap> Left, Right, Top, Bottom;
    };

    [[nodiscard]] const TSkinData& Data() const;
    // Drawn from the skin now: attached, with a frame, not minimized.
    [[nodiscard]] bool Shown() const;
    // The borders for the window's size and active state, drawn when either changed.
    const TBorders& Borders(int w, int h);
    void PaintTitle(HDC dc, const TBorders& borders);
    void PaintCaptionText(HDC dc, int w);
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
    TBorders FBorders;
    TOffscreen FOffscreen;
    // The title as painted (its key pixels cut the region) and before the caption
    // buttons (what a button's new state is drawn over).
    TBitmap FTitle, FTitleBack;
};
