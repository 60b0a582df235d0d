#include "app/pages/MainPage.h"
#include "classlib/gui/JPEG.h"
#include "classlib/gui/PlaceControl.h"

TMainPage::TMainPage(TComponent* owner) : TPageFrame(owner) {
    SetName("MainPage");
    using namespace Layout;
    // The picture, a row of command buttons below it, the log below them.
    constexpr TBounds image{Margin, Margin, 560, 96};
    constexpr TGrid commands = Across(Margin, image.Bottom() + Margin, 116, TallButtonHeight, 6);
    Image3 = Place<TImage>(this, this, "Image3", "", image);
    TJPEGImage picture;
    picture.LoadFromResource("MAINPICTURE");
    Image3->SetPicture(picture.Bitmap());
    int column = 0;
    auto command = [&](const char* name, const char* caption) {
        return Place<TButton>(this, this, name, caption, commands.Cell(column++, 0));
    };
    smallsytsemClean = command("smallsytsemClean", "System Clean        ");
    simulationMode = command("simulationMode", "Simulation Mode  ");
    btnStopTask = command("btnStopTask", "Stop Process         ");
    btnStopTask->SetHint("Stop the Erasing & Cleaning process.");
    btnStopTask->SetShowHint(true);
    btnHelpTask = command("btnHelpTask", "Help && Support       ");
    runoptions = command("runoptions", "Run Options       ");
    // Three hidden "Rapid Erase" buttons that do nothing.
    for (const char* name : {"btnRapidErase1", "btnRapidErase2", "btnRapidErase3"})
        command(name, "Rapid Erase")->SetVisible(false);
    const int logTop = commands.Cell(0, 0).Bottom() + 9;
    edLogMemo = Place<TMemo>(this, this, "edLogMemo", "",
                             {Margin, logTop, PageClientWidth - 12, PageClientHeight - logTop - 4});
    edLogMemo->SetReadOnly(true);
    edLogMemo->SetWordWrap(false);
    edLogMemo->SetScrollBars(ssBoth);
}
