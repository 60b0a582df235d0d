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

bool MethodChosen(TWipeEngine& engine) {
    if (WipeMethodsManager && WipeMethodsManager->GetEngineMethod(engine)) return true;
    ShowError("No wiping method is chosen for this list. Choose one with \"Options\" first.");
    return false;
}

void ReportFailures(const TWipeEngine& engine, int failed, const std::string& what) {
    if (failed <= 0) return;
    std::string text = IntToStr(failed) + " " + what + ".";
    if (!engine.Errors.empty()) text += "\r\n\r\n" + engine.Errors.front();
    ShowError(text);
}

void ShowMethodsFor(TShredder& shredder, TWipeEngine& engine) {
    // A run reads its method's passes while the dialog could change or free them.
    if (ShredderBusy(shredder)) {
        ShowInformation("The wiping methods cannot be changed while shredding.");
        return;
    }
    fMethodsForm->Engine = &engine;
    fMethodsForm->Engines = shredder.Engines();
    fMethodsForm->ShowModal();
}
