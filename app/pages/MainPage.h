#pragma once
// The "Main" sheet: the picture, the run commands and the engine's log. The main
// window binds the commands.
#include "app/pages/PageFrame.h"
#include "classlib/gui/Button.h"
#include "classlib/gui/Image.h"
#include "classlib/gui/Memo.h"

class TMainPage : public TPageFrame {
public:
    explicit TMainPage(TComponent* owner);

    TImage* Image3;
    TMemo* edLogMemo;
    TButton *smallsytsemClean, *simulationMode, *btnStopTask, *btnHelpTask, *runoptions;
};
