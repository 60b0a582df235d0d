#include "app/pages/MainPage.h"
#include "classlib/gui/JPEG.h"
#include "classlib/gui/PlaceControl.h"

TMainPage::TMainPage(TComponent* owner) : TPageFrame(owner) {
    SetName("MainPage");
    Image3 = Place<TImage>(this, this, "Image3", "", 8, 8, 560, 96);
    TJPEGImage picture;
    picture.LoadFromResource("MAINPICTURE");
    Image3->SetPicture(picture.Bitmap());
    int left = 8;
    auto command = [&](const char* name, const char* caption) {
        TButton* button = Place<TButton>(this, this, name, caption, left, 112, 116, 27);
        left += 122;
        return button;
    };
    smallsytsemClean = command("smallsytsemClean", "System Clean        ");
    simulationMode = command("simulationMode", "Simulation Mode  ");
    btnStopTask = command("btnStopTask", "Stop Process         ");
    btnStopTask->SetHint("Stop the Erasing & Cleaning process.");
    btnStopTask->SetShowHint(true);
    btnHelpTask = command("btnHelpTask", "Help && Support       ");
    runoptions = command("runoptions", "Run Options       ");
    edLogMemo = Place<TMemo>(this, this, "edLogMemo", "", 8, 148, PageClientWidth - 12,
                             PageClientHeight - 152);
    edLogMemo->SetReadOnly(true);
    edLogMemo->SetWordWrap(false);
    edLogMemo->SetScrollBars(ssBoth);
}
