#pragma once
// TStatusBar: the common status bar ("msctls_statusbar32"), aligned to the bottom of
// its parent, with panels of given widths or one simple text. A psOwnerDraw panel is
// painted by OnDrawPanel. Main thread.
#include "classlib/gui/Label.h"
#include "classlib/gui/WinControl.h"
#include <functional>
#include <string>
#include <vector>

enum TStatusPanelBevel { pbNone, pbLowered, pbRaised };
enum TStatusPanelStyle { psText, psOwnerDraw };
enum TBiDiMode { bdLeftToRight, bdRightToLeft };

struct TStatusPanel {
    std::string Text;
    int Width = 50;
    TAlignment Alignment = taLeftJustify;
    TStatusPanelBevel Bevel = pbLowered;
    TBiDiMode BiDiMode = bdLeftToRight;
    TStatusPanelStyle Style = psText;
};

class TStatusBar : public TWinControl {
public:
    explicit TStatusBar(TComponent* owner);

    [[nodiscard]] int PanelCount() const { return static_cast<int>(FPanels.size()); }
    [[nodiscard]] const TStatusPanel& Panel(int index) const { return FPanels.at(index); }
    void AddPanel(const TStatusPanel& panel);
    void SetPanel(int index, const TStatusPanel& panel);
    [[nodiscard]] bool SimplePanel() const { return FSimplePanel; }
    void SetSimplePanel(bool value);
    [[nodiscard]] const std::string& SimpleText() const { return FSimpleText; }
    void SetSimpleText(const std::string& text);
    [[nodiscard]] bool SizeGrip() const { return FSizeGrip; }
    void SetSizeGrip(bool value);
    [[nodiscard]] TBiDiMode BiDiMode() const { return FBiDiMode; }
    void SetBiDiMode(TBiDiMode value) { FBiDiMode = value; }

    // Paints an owner-drawn panel (index) in rect on dc; main thread.
    std::function<void(TStatusBar* sender, int index, HDC dc, const RECT& rect)> OnDrawPanel;

protected:
    void CreateParams(TCreateParams& params) override;
    void InitializeWnd() override;
    void WndProc(TMessage& message) override;

private:
    void ApplyPanels();

    std::vector<TStatusPanel> FPanels;
    bool FSimplePanel = false;
    std::string FSimpleText;
    bool FSizeGrip = true;
    TBiDiMode FBiDiMode = bdLeftToRight;
};
