#include "app/FinishingMode.h"
#include "app/MessageBoxes.h"
#include "classlib/base/Exceptions.h"

#include "classlib/gui/Application.h"
#include "engine/SharedRoutines.h"
#include "engine/erasers/PostEraser.h"
#include "engine/tools/PcBoot.h"
#include <memory>

namespace {

std::string Joined(const std::string& first, const std::string& second) {
    if (first.empty() || second.empty()) return first + second;
    return first + "\r\n\r\n" + second;
}

// The files still held open are saved and registered again for the next start;
// returns what to tell the user about them ("" when there are none).
std::string KeepForNextStart(const TPostEraser& left) {
    if (left.Count() == 0) return "";
    left.SaveToFile();
    left.RegisterRunOnce();
    std::string text = "These files could not be erased now and are kept for the next start "
                       "of Windows:";
    for (int i = 0; i < left.Count(); ++i)
        text += "\r\n" + left.Items(i).FileName;
    return text;
}

} // namespace

bool IsFinishingMode(const std::vector<std::string>& params) {
    return !params.empty() && params[0] == "/cleanup";
}

void RunFinishingMode() {
    // Only files kept for the next start are reported. The restart follows unless
    // nothing could be erased this time: a file held open at every start would
    // otherwise restart the machine at every start.
    std::unique_ptr<TPostEraser> postEraser;
    std::string notice;
    int loaded = 0;
    try {
        postEraser = std::make_unique<TPostEraser>();
        postEraser->OnProcessMessages = [] { Application->ProcessMessages(); };
        postEraser->LoadFromFile();
        notice = postEraser->DamageNotice();
        loaded = postEraser->Count();
        postEraser->Execute();
    } catch (const std::exception&) {
        LogSwallowed("RunFinishingMode");
    }
    bool nothingErased = false;
    try {
        if (postEraser) {
            postEraser->UnregisterRunOnce();
            nothingErased = loaded > 0 && postEraser->Count() == loaded;
            notice = Joined(notice, KeepForNextStart(*postEraser));
        }
    } catch (const std::exception&) {
        LogSwallowed("RunFinishingMode");
    }
    postEraser.reset();

    SetForegroundWindow(Application->Handle());
    Application->ProcessMessages();
    if (nothingErased) {
        ShowInformation(notice);
        Application->Terminate();
        return;
    }
    ShowInformation(Joined("System Clean finished. The system must be restarted.", notice));

    TPcBoot boot(nullptr);
    boot.ForceBoot = false;
    boot.BootType = btRestart;
    boot.Execute();
    Application->Terminate();
}
