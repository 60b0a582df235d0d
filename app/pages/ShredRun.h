#pragma once
// What both shredding pages do around a run of one of the shredder's engines.
#include "engine/wipe/Shredder.h"
#include <string>

// Any of the three engines is running: their lists and methods must stay as they are.
[[nodiscard]] bool ShredderBusy(const TShredder& shredder);
// False, after an error box, when no wipe method is bound to the engine.
[[nodiscard]] bool MethodChosen(TWipeEngine& engine);
// One error box when some items were not wiped: how many ("3 " + what + "."), and
// the first reason.
void ReportFailures(const TWipeEngine& engine, int failed, const std::string& what);
// Opens the methods dialog on the engine; refused while any engine runs.
void ShowMethodsFor(TShredder& shredder, TWipeEngine& engine);
