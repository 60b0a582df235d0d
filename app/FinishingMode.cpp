#include "app/FinishingMode.h"
#include "app/MessageBoxes.h"
#include "classlib/base/Exceptions.h"

#include "classlib/gui/Application.h"
#include "engine/SharedRoutines.h"
#include "engine/erasers/PostEraser.h"
#include "engine/tools/PcBoot.h"
#include <memory>

bool IsFinishingMode(const std::vector<std::string>& params) {
    return !params.empty() && params[0] == "/cleanup";
}

void RunFinishingMode() {
    // Failures are never reported: the message and the restart follow in every case.
    std::unique_ptr<TPostEraser> postEraser;
    std::string notice;
    try {
        postEraser = std::make_unique<TPostEraser>();
        postEraser->OnProcessMessages = [] { Application->ProcessMessages(); };
        postEraser->LoadFromFile();
        notice = postEraser->DamageNotice();
        postEraser->Execute();
    } catch (const std::exception&) {
        LogSwallowed("RunFinishingMode");
    }
    try {
        if (postEraser) postEraser->UnregisterRunOnce();
    } catch (const std::exception&) {
        LogSwallowed("RunFinishingMode");
    }
    postEraser.reset();

    SetForegroundWindow(Application->Handle());
    Application->ProcessMessages();
    std::string text = "System Clean finished. The system must be restarted.";
    if (!notice.empty()) text += "\r\n\r\n" + notice;
    ShowInformation(text);

    TPcBoot boot(nullptr);
    boot.ForceBoot = false;
    boot.BootType = btRestart;
    boot.Execute();
    Application->Terminate();
}
