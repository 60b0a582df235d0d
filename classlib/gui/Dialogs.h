#pragma once
// The common file dialogs. Execute shows the dialog modally (owned by the active
// window, or the application window) and returns false when it was cancelled.
#include "classlib/gui/Classes.h"
#include <string>
#include <vector>

enum TOpenOption : unsigned {
    ofHideReadOnly = 1,
    ofAllowMultiSelect = 2,
    ofPathMustExist = 4,
    ofFileMustExist = 8,
    ofOverwritePrompt = 16,
    ofEnableSizing = 32,
    ofNoDereferenceLinks = 64 // a chosen shortcut is the ".lnk" file, not its target
};

class TOpenDialog : public TComponent {
public:
    explicit TOpenDialog(TComponent* owner) : TComponent(owner) {}
    virtual bool Execute() { return Run(false); }

    std::string Title;
    std::string Filter; // "Text files|*.txt|All Files *.*|*.*": description|pattern pairs
    std::string DefaultExt;
    std::string InitialDir;
    std::string FileName; // initial name; after Execute the (first) chosen file
    unsigned Options = ofHideReadOnly | ofEnableSizing; // TOpenOption bits
    // Every chosen file with its path (one unless ofAllowMultiSelect).
    [[nodiscard]] const std::vector<std::string>& Files() const { return FFiles; }

protected:
    bool Run(bool save);

private:
    void ReadChoice(const std::vector<wchar_t>& buffer);
    std::vector<std::string> FFiles;
};

class TSaveDialog : public TOpenDialog {
public:
    explicit TSaveDialog(TComponent* owner) : TOpenDialog(owner) {}
    bool Execute() override { return Run(true); }
};

// The shell's folder dialog for file-system folders, starting at startFolder (when
// it exists); the chosen folder, or "" when cancelled.
std::string BrowseForFolder(const std::string& title, const std::string& startFolder);
