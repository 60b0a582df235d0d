#pragma once
// A page of the main window: a frame that owns its controls and its part of the
// settings. The main window only places pages and calls their steps in this order:
// SetEngine, SetDefaults, (the settings file is read), LoadSettings; ApplySettings
// before the settings are written. Main thread only.
#include "classlib/gui/Frame.h"
#include "classlib/gui/Layout.h"
#include "engine/EraserEngine.h"

// The room a page has on its sheet.
constexpr int PageClientWidth = 624, PageClientHeight = 564;
// The width of a page's groups and lists, a margin in from the page's left.
constexpr int PageContentWidth = 584;
// A page's own buttons, such as Apply and Default.
constexpr int PageButtonWidth = 100;

// count page buttons side by side at top, the last ending where the page's content ends.
constexpr TGrid PageButtonsAtRight(int top, int count) {
    return ButtonsEndingAt(Layout::Margin + PageContentWidth, top, count, PageButtonWidth);
}

class TPageFrame : public TFrame {
public:
    // A page that holds other pages hands the engine on.
    virtual void SetEngine(TEraserEngine* engine) { Engine = engine; }
    // Writes the page's default settings into the engine; the controls stay.
    virtual void SetDefaults() {}
    // Shows the engine's settings in the controls.
    virtual void LoadSettings() {}
    // Writes what the controls hold and the engine does not yet know.
    virtual void ApplySettings() {}
    // A cleaning run starts or ends.
    virtual void RunningChanged(bool /*running*/) {}
    // The page's sheet shows for the first time: work that only a shown page needs.
    virtual void FirstShow() {}

    TEraserEngine* Engine = nullptr;

protected:
    using TFrame::TFrame;
};
