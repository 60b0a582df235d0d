#pragma once
// What both shredding pages do around a run of one of the shredder's engines.
#include "engine/wipe/Shredder.h"
#include <string>
#include <windows.h>

// Any of the three engines is running: their lists and methods must stay as they are.
[[nodiscard]] bool ShredderBusy(const TShredder& shredder);
// The boxes below are owned by `owner`, the window that started the run.
// False, after an error box, when no wipe method is bound to the engine.
[[nodiscard]] bool MethodChosen(TWipeEngine& engine, HWND owner);
// After a run: what it did besides its items (Notices); then, when the user stopped
// it, that it was stopped and how many items were done ("2 of 5 file(s) shredded");
// otherwise one error box when some items were not done: how many ("3 file(s) could
// not be shredded."), and each item with its reason (the first ten, then every reason).
void ReportRun(const TWipeEngine& engine, int done, int failed, const std::string& what,
               const std::string& doneWord, const std::string& failedWords, HWND owner);
// Opens the methods dialog on the engine; refused while any engine runs.
void ShowMethodsFor(TShredder& shredder, TWipeEngine& engine, HWND owner);
