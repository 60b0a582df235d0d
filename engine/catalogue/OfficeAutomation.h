#pragma once
// Late-bound OLE automation of an Office application by its program id, to clear
// its list of recently used files.

// Creates progId ("Word.Application", "Excel.Application"), deletes the first entry
// of RecentFiles while its Count is not 0 (and still falls), then calls Quit.
// Silent when the application is missing or any call fails.
void ClearRecentFiles(const char* progId);
