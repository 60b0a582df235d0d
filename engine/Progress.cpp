#include "engine/Progress.h"

#include "classlib/base/SysUtils.h"
#include "classlib/gui/FileCtrl.h"
#include "classlib/gui/PlaceControl.h"

TfProgress::TfProgress(TComponent* owner) : TForm(owner) {
    SetName("fProgress");
    SetBorderStyle(bsDialog);
    SetBorderIcons(0); // no close button
    SetFormStyle(fsStayOnTop);
    SetPosition(poDesktopCenter);
    SetClientWidth(392);
    SetClientHeight(228);
    // Captions are set by FormCreate, again at each use.
    Animate = Place<TAnimate>(this, this, "Animate", "", 60, 8, 272, 60);
    lblFile = Place<TLabel>(this, this, "lblFile", "", 8, 74, 376, 16);
    FileProgressBar = Place<TProgressBar>(this, this, "FileProgressBar", "", 8, 92, 376, 16);
    // The next-start eraser cuts the window off at lblPass: keep it well below the bar.
    lblPass = Place<TLabel>(this, this, "lblPass", "", 8, 150, 376, 16);
    PassProgressBar = Place<TProgressBar>(this, this, "PassProgressBar", "", 8, 168, 376, 16);
    btnCancel = Place<TButton>(this, this, "btnCancel", "", 158, 194, 75, 25);
    for (TLabel* label : {lblFile, lblPass}) {
        label->SetAutoSize(false);
        label->SetShowAccelChar(false); // file names may hold "&"
    }
    btnCancel->SetCancel(true);
    btnCancel->OnClick = [this](TObject* sender) { btnCancelClick(sender); };
    FormCreate();
}

void TfProgress::FormCreate() {
    OnCancel = nullptr;
    SetCaption("Delete Files and Folders");
    lblFile->SetCaption("");
    lblPass->SetCaption("");
    btnCancel->SetCaption("&Cancel");
    Animate->SetCommonAVI(aviDeleteFile);
    Animate->SetStopFrame(24);
    Animate->SetActive(true);
}

void TfProgress::SetFileName(const std::string& path) {
    lblFile->SetCaption(MinimizeName(path, lblFile->Canvas(), lblFile->Width()));
}

void TfProgress::SetPass(int n, int total) {
    lblPass->SetCaption("Pass " + IntToStr(n) + " of " + IntToStr(total));
}

void TfProgress::StepBy(int bytes) {
    FileProgressBar->StepBy(bytes);
    PassProgressBar->StepBy(bytes);
}

void TfProgress::btnCancelClick(TObject*) {
    if (OnCancel) OnCancel(this);
}
