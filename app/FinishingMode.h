#pragma once
// The finishing mode: started with "/cleanup" after a restart, the program carries
// out the work an earlier cleaning run deferred, tells the user and restarts Windows.
#include <string>
#include <vector>

// True when the first argument is exactly "/cleanup" (case-sensitive).
bool IsFinishingMode(const std::vector<std::string>& params);
// Never creates a form and never runs the message loop.
void RunFinishingMode();
