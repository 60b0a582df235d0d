#include "app/pages/ShredRun.h"
#include "app/MessageBoxes.h"
#include "app/MethodsForm.h"
#include "classlib/base/SysUtils.h"
#include "engine/SharedRoutines.h"
#include "engine/wipe/WipeMethodsManager.h"

bool ShredderBusy(const TShredder& shredder) {
    return shredder.WipeFiles.Running() || shredder.WipeFolders.Running() ||
           shredder.WipeFreeSpace.Running();
}

bool MethodChosen(TWipeEngine& engine, HWND owner) {
    if (WipeMethodsManager && WipeMethodsManager->GetEngineMethod(engine)) return true;
    ShowError("No wiping method is chosen for this list. Choose one with \"Options\" first.",
              owner);
    return false;
}

// A stop is the user's own: no reason is given for what it left.
void ReportRun(const TWipeEngine& engine, int done, int failed, const std::string& what,
               const std::string& doneWord, const std::string& failedWords, HWND owner) {
    std::string notices;
    for (const std::string& notice : engine.Notices)
        notices += (notices.empty() ? "" : "\r\n") + notice;
    if (!notices.empty()) ShowInformation(notices, owner);
    if (engine.Cancelled) {
        ShowInformation("The run was stopped: " + IntToStr(done) + " of " +
                            IntToStr(done + failed) + " " + what + " " + doneWord + ".",
                        owner);
        return;
    }
    if (failed <= 0) return;
    std::string text = IntToStr(failed) + " " + what + " " + failedWords + ".";
    if (!engine.Errors.empty()) text += "\r\n\r\n" + engine.Errors.front();
    ShowError(text, owner);
}

void ShowMethodsFor(TShredder& shredder, TWipeEngine& engine, HWND owner) {
    // A run reads its method's passes while the dialog could change or free them.
    if (ShredderBusy(shredder)) {
        ShowInformation("The wiping methods cannot be changed while shredding.", owner);
        return;
    }
    fMethodsForm->Engine = &engine;
    fMethodsForm->Engines = shredder.Engines();
    fMethodsForm->ShowModal();
}
