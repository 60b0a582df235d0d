#pragma once
// The wipe methods of the "Methods" folder, the wipe settings of "options.ini" and
// the binding of each overwriting engine to a method. One global instance,
// WipeMethodsManager, lives for the whole program run. Main thread only.
#include "engine/wipe/WipeEngine.h"
#include "engine/wipe/WipeMethod.h"
#include <memory>
#include <string>
#include <vector>

class TCustomWipeMethodsManager {
public:
    TCustomWipeMethodsManager();
    virtual ~TCustomWipeMethodsManager() = default;

    std::vector<std::unique_ptr<TWipeMethod>> Methods;
    std::string MethodsDir; // GetMethodsDir() unless changed
    // One line for each damaged file the loads met and kept aside, since the program's
    // end rewrites the files.
    std::vector<std::string> DamageNotes;

    // Appends every ".mtd" file of MethodsDir that is neither hidden nor system,
    // in the order of the file search. A missing folder adds nothing. A damaged file
    // is copied aside and noted.
    void LoadMethods();
    void SaveMethods() const;
    // The first method whose FileName equals path, ignoring case; nullptr if none.
    [[nodiscard]] TWipeMethod* FindMethodByFileName(const std::string& path) const;
};

class TWipeMethodsManager : public TCustomWipeMethodsManager {
public:
    TWipeMethodsManager();

    // Section "Settings" of "options.ini". Only WipeSlackSpace, WriteSignature,
    // Signature and BufferSize govern a wipe; the rest is only kept.
    bool WipeWithCurrentMethod = false;
    bool WipeSlackSpace = false;
    bool DeleteToRecycleBin = false;
    bool ScrambleFile = false;
    bool WriteSignature = true;
    std::string Signature = "Wiped by ME!";
    bool ConfirmEraseFile = false;
    bool ConfirmEraseAllFiles = false;
    bool ConfirmEraseFolder = false;
    bool ConfirmErrorOccur = false;
    int32_t BufferSize = 512000;

    // Kept with the manager; the working engines belong to the shredder.
    std::unique_ptr<TWipeEngine> FilesEngine;
    std::unique_ptr<TWipeEngine> DrivesEngine;

    std::string OptionsFileName; // GetAppDir() + "options.ini" unless changed

    // The method bound in section "Engines" (stored in engine.Method), or the first
    // method without storing it when no binding exists; nullptr when the bound file
    // is not loaded.
    TWipeMethod* GetEngineMethod(TWipeEngine& engine) const;
    // The method file name (without folder) bound in section "Engines"; "" for none.
    [[nodiscard]] std::string BoundFileName(const TWipeEngine& engine) const;
    // Whether a method file's name (the folder aside) survives the 8-bit "options.ini"
    // and the profile functions' reading (which strip blanks and quotes at its ends)
    // unchanged, so that a binding names this method and no other.
    [[nodiscard]] static bool CanBind(const std::string& fileName);
    // An Exception, and nothing written, for a method that cannot be bound; an
    // Exception too when the binding read back is not the one written.
    void SetEngineMethod(TWipeEngine& engine, TWipeMethod* method) const;
    // A damaged "options.ini" (numbers or switches that are not whole numbers in range,
    // or no section at all) is copied aside and noted.
    void LoadSettings();
    void SaveSettings() const;
};

// Created and loaded before WinMain, saved and freed after it (see
// TWipeMethodsManagerLifetime); nullptr outside that span.
extern std::unique_ptr<TWipeMethodsManager> WipeMethodsManager;

// The program's start and end of the global manager. Errors are swallowed: the
// program starts with what was loaded, and ends regardless.
class TWipeMethodsManagerLifetime {
public:
    TWipeMethodsManagerLifetime();
    ~TWipeMethodsManagerLifetime();
    TWipeMethodsManagerLifetime(const TWipeMethodsManagerLifetime&) = delete;
    TWipeMethodsManagerLifetime& operator=(const TWipeMethodsManagerLifetime&) = delete;
};
