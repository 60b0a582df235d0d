#include "engine/wipe/WipeMethodsManager.h"
#include "classlib/base/Exceptions.h"
#include "classlib/base/IniFiles.h"
#include "classlib/base/SysUtils.h"
#include "engine/SharedRoutines.h"
#include "engine/wipe/CheckedIni.h"
#include "engine/wipe/ProfileText.h"
#include <exception>

std::unique_ptr<TWipeMethodsManager> WipeMethodsManager;

namespace {

const char* const SettingsSection = "Settings";
const char* const EnginesSection = "Engines";

} // namespace

TCustomWipeMethodsManager::TCustomWipeMethodsManager() : MethodsDir(GetMethodsDir()) {}

void TCustomWipeMethodsManager::LoadMethods() {
    const std::string folder = IncludeTrailingPathDelimiter(MethodsDir);
    const TStringList names = ListFiles(folder, "*.mtd");
    for (int i = 0; i < names.Count(); ++i) {
        const std::string& name = names[i];
        // The search also matches longer extensions through 8.3 aliases.
        if (!SameText(ExtractFileExt(name), ".mtd")) continue;
        auto method = std::make_unique<TWipeMethod>();
        method->FileName = folder + name;
        if (!method->LoadFromFile()) DamageNotes.push_back(KeepDamagedWipeFile(method->FileName));
        Methods.push_back(std::move(method));
    }
}

// A method that cannot be saved does not keep the others from being saved; the
// first error passes on afterwards.
void TCustomWipeMethodsManager::SaveMethods() const {
    std::exception_ptr first;
    for (const auto& method : Methods) {
        try {
            method->SaveToFile();
        } catch (...) {
            if (!first) first = std::current_exception();
        }
    }
    if (first) std::rethrow_exception(first);
}

TWipeMethod* TCustomWipeMethodsManager::FindMethodByFileName(const std::string& path) const {
    for (const auto& method : Methods)
        if (SameText(method->FileName, path)) return method.get();
    return nullptr;
}

TWipeMethodsManager::TWipeMethodsManager()
    : FilesEngine(std::make_unique<TWipeEngine>("FilesEngine")),
      DrivesEngine(std::make_unique<TWipeEngine>("DrivesEngine")),
      OptionsFileName(GetAppDir() + "options.ini") {}

std::string TWipeMethodsManager::BoundFileName(const TWipeEngine& engine) const {
    return TIniFile(OptionsFileName).ReadString(EnginesSection, engine.Name, "");
}

TWipeMethod* TWipeMethodsManager::GetEngineMethod(TWipeEngine& engine) const {
    const std::string value = BoundFileName(engine);
    if (value.empty()) return Methods.empty() ? nullptr : Methods.front().get();
    engine.Method = FindMethodByFileName(IncludeTrailingPathDelimiter(MethodsDir) + value);
    return engine.Method;
}

bool TWipeMethodsManager::CanBind(const std::string& fileName) {
    const std::string name = ExtractFileName(fileName);
    return FitsAnsiCodePage(name) && EncodeProfileText(name) == name &&
           DecodeProfileText(name) == name;
}

void TWipeMethodsManager::SetEngineMethod(TWipeEngine& engine, TWipeMethod* method) const {
    if (method && !CanBind(method->FileName))
        throw Exception("The method file \"" + ExtractFileName(method->FileName) +
                        "\" cannot be named in \"options.ini\"");
    const std::string value = method ? ExtractFileName(method->FileName) : "";
    TIniFile ini(OptionsFileName);
    ini.WriteString(EnginesSection, engine.Name, value);
    ini.UpdateFile();
    if (BoundFileName(engine) != value)
        throw Exception("The choice of method could not be written to \"" + OptionsFileName + "\"");
    engine.Method = method;
}

void TWipeMethodsManager::LoadSettings() {
    TCheckedIni ini(OptionsFileName);
    // A file written by the program holds a section; one without any is not an ini file.
    if (FileSizeOf(OptionsFileName) > 0 && ini.Ini.ReadSections().empty()) ini.NoteDamage();
    WipeWithCurrentMethod = ini.ReadBool(SettingsSection, "WipeWithCurrentMethod", true);
    WipeSlackSpace = ini.ReadBool(SettingsSection, "WipeSlackSpace", true);
    DeleteToRecycleBin = ini.ReadBool(SettingsSection, "DeleteToRecycleBin", false);
    ScrambleFile = ini.ReadBool(SettingsSection, "ScrambleFile", true);
    WriteSignature = ini.ReadBool(SettingsSection, "WriteSignature", false);
    Signature = DecodeProfileText(ini.Ini.ReadString(SettingsSection, "Signature", ""));
    ConfirmEraseFile = ini.ReadBool(SettingsSection, "ConfirmEraseFile", false);
    ConfirmEraseAllFiles = ini.ReadBool(SettingsSection, "ConfirmEraseAllFiles", true);
    ConfirmEraseFolder = ini.ReadBool(SettingsSection, "ConfirmEraseFolder", false);
    ConfirmErrorOccur = ini.ReadBool(SettingsSection, "ConfirmErrorOccur", true);
    BufferSize = ini.ReadInteger(SettingsSection, "BufferSize", 524288);
    if (ini.Damaged()) DamageNotes.push_back(KeepDamagedWipeFile(OptionsFileName));
}

void TWipeMethodsManager::SaveSettings() const {
    TIniFile ini(OptionsFileName);
    ini.WriteBool(SettingsSection, "WipeWithCurrentMethod", WipeWithCurrentMethod);
    ini.WriteBool(SettingsSection, "WipeSlackSpace", WipeSlackSpace);
    ini.WriteBool(SettingsSection, "DeleteToRecycleBin", DeleteToRecycleBin);
    ini.WriteBool(SettingsSection, "ScrambleFile", ScrambleFile);
    ini.WriteBool(SettingsSection, "WriteSignature", WriteSignature);
    ini.WriteString(SettingsSection, "Signature", EncodeProfileText(Signature));
    ini.WriteBool(SettingsSection, "ConfirmEraseFile", ConfirmEraseFile);
    ini.WriteBool(SettingsSection, "ConfirmEraseAllFiles", ConfirmEraseAllFiles);
    ini.WriteBool(SettingsSection, "ConfirmEraseFolder", ConfirmEraseFolder);
    ini.WriteBool(SettingsSection, "ConfirmErrorOccur", ConfirmErrorOccur);
    ini.WriteInteger(SettingsSection, "BufferSize", BufferSize);
    ini.UpdateFile();
}

namespace {

// Each step of the program's start and end goes on when an earlier one failed.
template <class F> void Swallow(F step) {
    try {
        step();
    } catch (...) {
        LogSwallowed("wipe methods: a step of the start or end");
    }
}

} // namespace

TWipeMethodsManagerLifetime::TWipeMethodsManagerLifetime() {
    Swallow([] { WipeMethodsManager = std::make_unique<TWipeMethodsManager>(); });
    if (!WipeMethodsManager) return;
    Swallow([] { WipeMethodsManager->LoadMethods(); });
    Swallow([] { WipeMethodsManager->LoadSettings(); });
}

TWipeMethodsManagerLifetime::~TWipeMethodsManagerLifetime() {
    if (!WipeMethodsManager) return;
    Swallow([] { WipeMethodsManager->SaveMethods(); });
    Swallow([] { WipeMethodsManager->SaveSettings(); });
    WipeMethodsManager.reset();
}
