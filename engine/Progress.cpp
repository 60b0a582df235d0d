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
    constexpr int ClientWidth = 392;
    SetLayoutClientSize(this, ClientWidth, 228);
    using namespace Layout;
    // Each label above its bar, the animation and the button centred. Captions are set
    // by FormCreate, again at each use.
    constexpr int LineHeight = 16, PassDrop = 76, AnimateWidth = 272;
    const TGrid file = Down(Margin, 74, ClientWidth - 2 * Margin, LineHeight, 2);
    Animate = Place<TAnimate>(this, this, "Animate", "",
                              {(ClientWidth - AnimateWidth) / 2, Margin, AnimateWidth, 60});
    lblFile = Place<TLabel>(this, this, "lblFile", "", file.Cell(0, 0));
    FileProgressBar = Place<TProgressBar>(this, this, "FileProgressBar", "", file.Cell(0, 1));
    // The next-start eraser cuts the window off at lblPass: keep it well below the bar.
    lblPass = Place<TLabel>(this, this, "lblPass", "", file.Cell(0, 0).Moved(0, PassDrop));
    const TBounds passBar = file.Cell(0, 1).Moved(0, PassDrop);
    PassProgressBar = Place<TProgressBar>(this, this, "PassProgressBar", "", passBar);
    btnCancel = Place<TButton>(
        this, this, "btnCancel", "",
        {(ClientWidth - ButtonWidth) / 2, passBar.Bottom() + 10, ButtonWidth, ButtonHeight});
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
    Animate->HandleNeeded(); // opens the clip
    if (!Animate->Open()) CloseAnimationGap();
}

// A system without the clip (Wine) would leave an empty band where it plays.
void TfProgress::CloseAnimationGap() {
    Animate->SetVisible(false);
    const int gap = lblFile->Top() - Animate->Top();
    for (TControl* control : std::initializer_list<TControl*>{lblFile, FileProgressBar, lblPass,
                                                              PassProgressBar, btnCancel})
        control->SetTop(control->Top() - gap);
    SetClientHeight(ClientHeight() - gap);
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
