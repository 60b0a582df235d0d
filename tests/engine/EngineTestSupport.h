#pragma once
// Shared by the catalogue, cleaning-run and settings tests: an engine whose
// questions and notices are recorded, its log, and traces planted in the
// private Wine prefix (files in special folders, registry values).
#include "engine/EraserEngine.h"
#include "engine/EraserFixture.h"
#include <initializer_list>
#include <string>
#include <vector>

class TTestEngine : public TEraserEngine {
public:
    TTestEngine();
    ~TTestEngine() override;

    std::vector<std::string> Log;
    std::vector<std::string> Questions;
    std::vector<std::string> Notices;
    bool AnswerYes = false;
    int Restarts = 0; // restart and shutdown requests that reached Windows

    // Enables exactly these items.
    void EnableOnly(std::initializer_list<TCatalogueItem> items);
    // Clears the log, runs Clean, returns the log.
    std::vector<std::string> Run(bool simulation);
};

// The four opening lines of a run.
std::vector<std::string> OpeningLines();
// The two lines of a successful item and the empty line after them.
std::vector<std::string> ItemLines(TCatalogueItem item);
// "Cleaning Completed!", the empty line and the summary.
std::vector<std::string> ClosingLines(int keys, int values, int folders, int files,
                                      const std::string& space);
std::vector<std::string> Concat(std::initializer_list<std::vector<std::string>> parts);
// The whole log of a run whose items all succeed.
std::vector<std::string> RunLog(std::initializer_list<TCatalogueItem> items, int keys, int values,
                                int folders, int files, const std::string& space);

// Paths and traces.
std::string SpecialFolderOf(int csidl);          // created when missing, without trailing "\"
std::string TestFolder(const std::string& name); // a fresh empty folder on C:
// Writes the file, creating its folders.
void PlantFile(const std::string& path, const std::string& content = "x");

void WriteRegString(HKEY root, const std::string& key, const std::string& name,
                    const std::string& value);
void WriteRegDword(HKEY root, const std::string& key, const std::string& name, DWORD value);
bool RegValueExists(HKEY root, const std::string& key, const std::string& name);
bool RegKeyExists(HKEY root, const std::string& key);
std::string ReadRegString(HKEY root, const std::string& key, const std::string& name);
std::vector<std::string> RegValueNames(HKEY root, const std::string& key);
void DeleteRegKey(HKEY root, const std::string& key);

// Replaces the platform version seen by the engine for the lifetime of the object.
class TVersionOverride {
public:
    explicit TVersionOverride(bool nt, DWORD major = 5, DWORD minor = 1);
    ~TVersionOverride();
};
