#pragma once
// Helpers of the eraser tests: a temporary folder of the private prefix, files of a
// given size, a link to a folder, host programs run from the prefix, and an engine
// that records its log.
#include "engine/CustomEraserEngine.h"
#include "support/HostLinks.h"
#include "support/TempFolder.h"
#include <functional>
#include <string>
#include <vector>
#include <windows.h>

void MakeFile(const std::string& path, size_t size = 10, DWORD attributes = 0);
void MakeFolder(const std::string& path); // with its parents
[[nodiscard]] bool Exists(const std::string& path);
void RemoveTree(const std::string& path);
// A symbolic link (or, where the platform cannot make one, a Unix link under Wine)
// at link to the folder target; false when neither can be made.
bool MakeFolderLink(const std::string& link, const std::string& target);

// An engine whose log lines are recorded; messages "run" before every entry and are
// counted.
class TRecordingEngine : public TCustomEraserEngine {
public:
    TRecordingEngine();
    std::vector<std::string> Lines;
    int Pumps = 0;
    int CancelAtPump = 0; // Cancelled is set at this pump (1-based); 0 never
};
