#pragma once
// The "Memory Optimization" tab: free physical memory (and, on the Windows 9x line,
// the processor usage) every second once the tab has been shown, and the optimizer
// of the global TMem on request or when free memory falls below the alarm level.
// One optimization at a time. Main thread only.
#include "app/pages/PageFrame.h"
#include "classlib/gui/CheckBox.h"
#include "classlib/gui/GroupBox.h"
#include "classlib/gui/Label.h"
#include "classlib/gui/PageControl.h"
#include "classlib/gui/ProgressBar.h"
#include "classlib/gui/SpeedButton.h"
#include "classlib/gui/SpinEdit.h"
#include "classlib/gui/Timer.h"
#include "classlib/gui/TrackBar.h"
#include "engine/tools/Mem.h"

class TMemoryPanel : public TPageFrame {
public:
    explicit TMemoryPanel(TComponent* owner);

    TSpeedButton* SpeedButtonOptimize; // runs ActionOptimizeExecute
    TGroupBox* grpMonitorUsage;
    TLabel *LabelCPU, *LabelMEM, *LabelMEMP, *LabelCPUP, *LabelFree;
    TProgressBar *ProgressBarCPU, *ProgressBarMEM;
    TGroupBox* grpOptimizing;
    TProgressBar* ProgressBarFree;
    TPageControl* pagSettings;
    TTabSheet* tabSettings;
    TGroupBox *grpSelectRAM, *grpAlarmLevel, *grpMisc;
    TLabel* LabelSlider;
    TTrackBar* TrackRAM;
    TCheckBox* CheckBoxAutoOptimize;
    TSpinEdit* SpinEditAlarmMB;
    TLabel *LabelMB, *LabelRefresh;
    TSpinEdit* SpinEditRefresh;
    TCheckBox* CheckBoxAutoRun;
    TTimer* TimerMem;

    TMem* Memory = nullptr; // the program's TMem; set before the tab is first shown

    // The tab was shown: sets the panel up and starts the monitor, the first time only.
    void tabMemoryShow();
    void TimerMemTimer();
    void ActionOptimizeExecute();

private:
    void BuildMonitor();
    void BuildSettings();
    void TrackRAMChange();

    bool FStarted = false;
    bool FNT = false;
    bool FOptimizing = false;
};
