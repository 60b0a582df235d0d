#include "app/pages/MemoryPanel.h"
#include "app/MessageBoxes.h"
#include "classlib/base/SysUtils.h"
#include "classlib/gui/Application.h"
#include "classlib/gui/BusyScope.h"
#include "classlib/gui/PlaceControl.h"
#include "classlib/gui/Platform.h"
#include "engine/SharedRoutines.h"
#include <algorithm>
#include <cmath>
#include <new>

using namespace Layout;

namespace {

// The optimize button above the monitor groups, the settings beside them.
constexpr TBounds OptimizeButton{Margin, Margin, 120, 30};
constexpr TBounds MonitorGroup = OptimizeButton.Below(Margin, 150).WithWidth(290);
// In the monitor: rows of a caption, a bar and a percentage, then the free figure a
// label's height above the bottom; its free figure and the optimizing bar are as wide
// as the group inside the captions' margin.
constexpr TTrack MonitorRows{22, 18, 22};
constexpr int CaptionLeft = 10, CaptionWidth = 40, BarWidth = 180;
constexpr int BarLeft = CaptionLeft + CaptionWidth + 4, PercentLeft = BarLeft + BarWidth + 6;
constexpr int InnerWidth = MonitorGroup.Width - 2 * CaptionLeft;
constexpr TBounds FreeFigure{CaptionLeft, MonitorGroup.Height - 2 * LabelHeight, InnerWidth,
                             LabelHeight};
constexpr TBounds OptimizingGroup = MonitorGroup.Below(Margin, 60);
constexpr TBounds OptimizingBar{CaptionLeft, MonitorRows.Start + 4, InnerWidth, MonitorRows.Size};

constexpr TBounds MonitorLabel(int left, int row) {
    return {left, MonitorRows.At(row) + 2, CaptionWidth, LabelHeight};
}

constexpr TBounds MonitorBar(int row) {
    return {BarLeft, MonitorRows.At(row), BarWidth, MonitorRows.Size};
}

template <class T>
T* PlaceHidden(TComponent* owner, TWinControl* parent, const char* name, const char* caption,
               const TBounds& bounds) {
    T* control = Place<T>(owner, parent, name, caption, bounds);
    control->SetVisible(false);
    return control;
}

std::string Megabytes(int64_t mb) {
    return Format("%d MB", static_cast<int>(mb));
}

} // namespace

TMemoryPanel::TMemoryPanel(TComponent* owner) : TPageFrame(owner) {
    SetName("MemoryPanel");
    SpeedButtonOptimize =
        Place<TSpeedButton>(this, this, "SpeedButtonOptimize", "&Optimize", OptimizeButton);
    SpeedButtonOptimize->OnClick = [this](TObject*) { ActionOptimizeExecute(); };
    BuildMonitor();
    BuildSettings();
    TimerMem = new TTimer(this);
    TimerMem->SetName("TimerMem");
    TimerMem->SetEnabled(false);
    TimerMem->SetOnTimer([this](TObject*) { TimerMemTimer(); });
}

void TMemoryPanel::BuildMonitor() {
    grpMonitorUsage =
        Place<TGroupBox>(this, this, "grpMonitorUsage", "Monitor Usage", MonitorGroup);
    grpMonitorUsage->SetHint("Double click to tray");
    TGroupBox* group = grpMonitorUsage;
    LabelCPU = PlaceHidden<TLabel>(this, group, "LabelCPU", "CPU", MonitorLabel(CaptionLeft, 0));
    LabelMEM = Place<TLabel>(this, group, "LabelMEM", "MEM", MonitorLabel(CaptionLeft, 1));
    LabelMEMP = Place<TLabel>(this, group, "LabelMEMP", "100%", MonitorLabel(PercentLeft, 1));
    LabelCPUP = PlaceHidden<TLabel>(this, group, "LabelCPUP", "100%", MonitorLabel(PercentLeft, 0));
    LabelFree = Place<TLabel>(this, group, "LabelFree", "-", FreeFigure);
    ProgressBarCPU = PlaceHidden<TProgressBar>(this, group, "ProgressBarCPU", "", MonitorBar(0));
    ProgressBarMEM = Place<TProgressBar>(this, group, "ProgressBarMEM", "", MonitorBar(1));
    ProgressBarMEM->SetMax(128);
    grpOptimizing = Place<TGroupBox>(this, this, "grpOptimizing", "Optimizing", OptimizingGroup);
    ProgressBarFree =
        Place<TProgressBar>(this, grpOptimizing, "ProgressBarFree", "", OptimizingBar);
}

void TMemoryPanel::BuildSettings() {
    pagSettings =
        Place<TPageControl>(this, this, "pagSettings", "",
                            {MonitorGroup.Right() + Margin, OptimizeButton.Top, 300, 300});
    tabSettings = PlaceSheet(this, pagSettings, "tabSettings", "Settings");
    // Three groups one below another; in each, two rows from the same left.
    constexpr TGrid groups = Down(6, 6, 280, 80, 6);
    constexpr int Left = 10, Wide = 260, FirstRow = 20, CheckRowHeight = 19;
    constexpr TBounds firstRow{Left, FirstRow, Wide, CheckRowHeight};
    constexpr TBounds sliderCaption{Left, FirstRow, 120, LabelHeight};
    constexpr TBounds slider = sliderCaption.Below(3, 32).WithWidth(Wide);
    constexpr TBounds alarm = firstRow.Below(7, EditHeight).WithWidth(80);
    constexpr int RefreshLabelWidth = 110;
    constexpr TBounds refresh{Left + RefreshLabelWidth + 4, FirstRow - 2, 60, EditHeight};
    grpSelectRAM = Place<TGroupBox>(this, tabSettings, "grpSelectRAM", "Select RAM to Free",
                                    groups.Cell(0, 0));
    grpSelectRAM->SetHint("Select RAM to Free");
    LabelSlider = Place<TLabel>(this, grpSelectRAM, "LabelSlider", "%d MB", sliderCaption);
    TrackRAM = Place<TTrackBar>(this, grpSelectRAM, "TrackRAM", "", slider);
    TrackRAM->SetMax(128);
    TrackRAM->SetCursor(crHandPoint);
    TrackRAM->OnChange = [this](TObject*) { TrackRAMChange(); };
    grpAlarmLevel =
        Place<TGroupBox>(this, tabSettings, "grpAlarmLevel", "Alarm Level", groups.Cell(0, 1));
    CheckBoxAutoOptimize = Place<TCheckBox>(this, grpAlarmLevel, "CheckBoxAutoOptimize",
                                            "Automatic RAM Optimization when reach", firstRow);
    SpinEditAlarmMB = Place<TSpinEdit>(this, grpAlarmLevel, "SpinEditAlarmMB", "", alarm);
    SpinEditAlarmMB->SetValue(0);
    LabelMB = Place<TLabel>(this, grpAlarmLevel, "LabelMB", "MB",
                            {alarm.Right() + 6, alarm.Top + 3, 30, LabelHeight});
    grpMisc = Place<TGroupBox>(this, tabSettings, "grpMisc", "Misc", groups.Cell(0, 2));
    LabelRefresh = Place<TLabel>(this, grpMisc, "LabelRefresh", "Refresh (in sec)",
                                 {Left, refresh.Top + LabelDrop, RefreshLabelWidth, LabelHeight});
    SpinEditRefresh = Place<TSpinEdit>(this, grpMisc, "SpinEditRefresh", "", refresh);
    SpinEditRefresh->SetValue(0);
    CheckBoxAutoRun = Place<TCheckBox>(this, grpMisc, "CheckBoxAutoRun", "Autorun on Windows start",
                                       {Left, refresh.Bottom() + 9, Wide, CheckRowHeight});
}

void TMemoryPanel::tabMemoryShow() {
    if (FStarted || !Memory) return;
    FStarted = true;
    Memory->OnAllocate = [this](TMem*, int index) { ProgressBarFree->SetPosition(index); };
    Memory->OnRelease = [this](TMem*, int index) { ProgressBarFree->StepBy(index); };
    if (!Memory->OnProcessMessages)
        Memory->OnProcessMessages = [] { Application->ProcessMessages(); };
    TimerMem->SetInterval(1000);
    TimerMem->SetEnabled(true);
    SpinEditRefresh->SetValue(1);
    FNT = IsWindowsNT();
    if (FNT) {
        ProgressBarCPU->SetEnabled(false);
        LabelCPUP->SetCaption("n.a.");
    }
    TMemoryFigures figures;
    Memory->GetMemoryStatus(figures);
    TrackRAM->SetMin(1);
    TrackRAM->SetMax(static_cast<int>(std::max<int64_t>(1, figures.TotalPhys)));
    TrackRAM->SetPosition(static_cast<int>(std::nearbyint(TrackRAM->Max() / 2.0)));
    ProgressBarCPU->SetMin(1);
    ProgressBarCPU->SetMax(100);
    ProgressBarMEM->SetMin(1);
    ProgressBarMEM->SetMax(TrackRAM->Max());
    ProgressBarFree->SetMin(1);
    ProgressBarFree->SetMax(TrackRAM->Max());
    ProgressBarFree->SetPosition(1);
    TrackRAMChange();
    CheckBoxAutoRun->SetChecked(Memory->IsAutoStart());
    TimerMemTimer();
}

void TMemoryPanel::TimerMemTimer() {
    if (!Memory) return;
    TMemoryFigures figures;
    Memory->GetMemoryStatus(figures);
    if (!FNT) {
        const int usage = Memory->GetCPUUsage();
        LabelCPUP->SetCaption(IntToStr(usage) + "%");
        ProgressBarCPU->SetPosition(usage);
    }
    ProgressBarMEM->SetPosition(static_cast<int>(figures.AvailPhys));
    if (figures.TotalPhys != 0)
        LabelMEMP->SetCaption(IntToStr(static_cast<int>(
                                  std::nearbyint(figures.AvailPhys * 100.0 / figures.TotalPhys))) +
                              "%");
    LabelFree->SetCaption(Format("%d MB of %d MB Free", static_cast<int>(figures.AvailPhys),
                                 static_cast<int>(figures.TotalPhys)));
    if (!CheckBoxAutoOptimize->Checked() || FOptimizing) return;
    Memory->GetMemoryStatus(figures);
    if (figures.AvailPhys < SpinEditAlarmMB->Value()) {
        TimerMem->SetEnabled(false);
        ActionOptimizeExecute();
        TimerMem->SetEnabled(true);
    }
}

// At most what the process can still claim: its free address space and the free
// commit. Too little memory shows one error; however the run ends, the button, the
// cursor and the next run come back.
void TMemoryPanel::ActionOptimizeExecute() {
    if (FOptimizing || !Memory) return;
    FOptimizing = true;
    struct TEndRun {
        bool& Optimizing;
        ~TEndRun() { Optimizing = false; }
    } endRun{FOptimizing};
    TBusyScope busy({SpeedButtonOptimize}, crHourGlass);
    TMemoryFigures figures;
    Memory->GetMemoryStatus(figures);
    const int64_t count = std::clamp<int64_t>(
        TrackRAM->Position(), 0, std::min(figures.AvailPageFile, figures.AvailVirtual));
    try {
        Memory->FreeMemory(static_cast<int>(count));
        ProgressBarFree->SetPosition(ProgressBarFree->Max());
    } catch (const std::bad_alloc&) {
        ProgressBarFree->SetPosition(ProgressBarFree->Min());
        ShowError("Not enough memory: " + Megabytes(count) + " could not be claimed.");
    }
}

void TMemoryPanel::TrackRAMChange() {
    LabelSlider->SetCaption(Megabytes(TrackRAM->Position()));
}
