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

namespace {

constexpr size_t Shown = 10; // lines of a box

// The first lines, one a line; past them, how many more.
std::string FirstLines(const std::vector<std::string>& lines) {
    std::string text;
    for (size_t i = 0; i < lines.size() && i < Shown; ++i)
        text += (i == 0 ? "" : "\r\n") + lines[i];
    if (lines.size() > Shown)
        text += "\r\n... and " + IntToStr(static_cast<int>(lines.size() - Shown)) + " more";
    return text;
}

} // namespace

// A stop is the user's own: no reason is given for what it left.
void ReportRun(const TWipeEngine& engine, int done, int failed, const std::string& what,
               const std::string& doneWord, const std::string& failedWords, HWND owner) {
    if (!engine.Notices.empty()) ShowInformation(FirstLines(engine.Notices), owner);
    if (engine.Cancelled) {
        ShowInformation("The run was stopped: " + IntToStr(done) + " of " +
                            IntToStr(done + failed) + " " + what + " " + doneWord + ".",
                        owner);
        return;
    }
    if (failed <= 0) return;
    std::string text = IntToStr(failed) + " " + what + " " + failedWords + ".";
    if (!engine.Errors.empty()) text += "\r\n\r\n" + FirstLines(engine.Errors);
    // Lines left out may hold other reasons: each is named once.
    if (engine.Errors.size() > Shown && engine.Reasons.size() > 1)
        text += ", for these reasons:\r\n" + FirstLines(engine.Reasons);
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
