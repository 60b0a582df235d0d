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

namespace {

template <class T>
T* PlaceHidden(TComponent* owner, TWinControl* parent, const char* name, const char* caption,
               int left, int top, int width, int height) {
    T* control = Place<T>(owner, parent, name, caption, left, top, width, height);
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
        Place<TSpeedButton>(this, this, "SpeedButtonOptimize", "&Optimize", 8, 8, 120, 30);
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
        Place<TGroupBox>(this, this, "grpMonitorUsage", "Monitor Usage", 8, 46, 290, 150);
    grpMonitorUsage->SetHint("Double click to tray");
    LabelCPU = PlaceHidden<TLabel>(this, grpMonitorUsage, "LabelCPU", "CPU", 10, 24, 40, 15);
    LabelMEM = Place<TLabel>(this, grpMonitorUsage, "LabelMEM", "MEM", 10, 64, 40, 15);
    LabelMEMP = Place<TLabel>(this, grpMonitorUsage, "LabelMEMP", "100%", 240, 64, 40, 15);
    LabelCPUP = PlaceHidden<TLabel>(this, grpMonitorUsage, "LabelCPUP", "100%", 240, 24, 40, 15);
    LabelFree = Place<TLabel>(this, grpMonitorUsage, "LabelFree", "-", 10, 120, 270, 15);
    ProgressBarCPU =
        PlaceHidden<TProgressBar>(this, grpMonitorUsage, "ProgressBarCPU", "", 54, 22, 180, 18);
    ProgressBarMEM =
        Place<TProgressBar>(this, grpMonitorUsage, "ProgressBarMEM", "", 54, 62, 180, 18);
    ProgressBarMEM->SetMax(128);
    grpOptimizing = Place<TGroupBox>(this, this, "grpOptimizing", "Optimizing", 8, 204, 290, 60);
    ProgressBarFree =
        Place<TProgressBar>(this, grpOptimizing, "ProgressBarFree", "", 10, 26, 270, 18);
}

void TMemoryPanel::BuildSettings() {
    pagSettings = Place<TPageControl>(this, this, "pagSettings", "", 306, 8, 300, 300);
    tabSettings = PlaceSheet(this, pagSettings, "tabSettings", "Settings");
    grpSelectRAM =
        Place<TGroupBox>(this, tabSettings, "grpSelectRAM", "Select RAM to Free", 6, 6, 280, 80);
    grpSelectRAM->SetHint("Select RAM to Free");
    LabelSlider = Place<TLabel>(this, grpSelectRAM, "LabelSlider", "%d MB", 10, 20, 120, 15);
    TrackRAM = Place<TTrackBar>(this, grpSelectRAM, "TrackRAM", "", 10, 38, 260, 32);
    TrackRAM->SetMax(128);
    TrackRAM->SetCursor(crHandPoint);
    TrackRAM->OnChange = [this](TObject*) { TrackRAMChange(); };
    grpAlarmLevel =
        Place<TGroupBox>(this, tabSettings, "grpAlarmLevel", "Alarm Level", 6, 92, 280, 80);
    CheckBoxAutoOptimize =
        Place<TCheckBox>(this, grpAlarmLevel, "CheckBoxAutoOptimize",
                         "Automatic RAM Optimization when reach", 10, 20, 260, 19);
    SpinEditAlarmMB = Place<TSpinEdit>(this, grpAlarmLevel, "SpinEditAlarmMB", "", 10, 46, 80, 21);
    SpinEditAlarmMB->SetValue(0);
    LabelMB = Place<TLabel>(this, grpAlarmLevel, "LabelMB", "MB", 96, 49, 30, 15);
    grpMisc = Place<TGroupBox>(this, tabSettings, "grpMisc", "Misc", 6, 178, 280, 80);
    LabelRefresh =
        Place<TLabel>(this, grpMisc, "LabelRefresh", "Refresh (in sec)", 10, 22, 110, 15);
    SpinEditRefresh = Place<TSpinEdit>(this, grpMisc, "SpinEditRefresh", "", 124, 18, 60, 21);
    SpinEditRefresh->SetValue(0);
    CheckBoxAutoRun = Place<TCheckBox>(this, grpMisc, "CheckBoxAutoRun", "Autorun on Windows start",
                                       10, 48, 260, 19);
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
