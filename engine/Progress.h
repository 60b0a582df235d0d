#pragma once
// TfProgress: the small window that shows the progress of long engine work (an
// overwriting run, the next-start eraser): the current file, an overall bar, the
// current pass and its bar, and Cancel. Its creator shows it modeless, lets the
// message loop run during the work, and frees it at the end. Main thread only.
#include "classlib/gui/Animate.h"
#include "classlib/gui/Button.h"
#include "classlib/gui/Form.h"
#include "classlib/gui/Label.h"
#include "classlib/gui/ProgressBar.h"
#include <string>

class TfProgress : public TForm {
public:
    explicit TfProgress(TComponent* owner);

    TAnimate* Animate;
    TLabel* lblFile;
    TProgressBar* FileProgressBar;
    TLabel* lblPass;
    TProgressBar* PassProgressBar;
    TButton* btnCancel;

    // Set by the overwriting engine to raise its cancel flag (main thread). Unset,
    // as for the next-start eraser, Cancel does nothing. The window never closes on it.
    TNotifyEvent OnCancel;

    // Path shortened to the label's width ("C:\...\folder\file.txt").
    void SetFileName(const std::string& path);
    void SetPass(int n, int total); // "Pass n of total"
    void StepBy(int bytes);         // both bars

private:
    void FormCreate();
    void CloseAnimationGap();
    void btnCancelClick(TObject* sender);
};
