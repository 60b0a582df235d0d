// "prefs.dat": the engine's options, the catalogue's items and the owned tools.
#include "classlib/base/Exceptions.h"
#include "classlib/base/SysUtils.h"
#include "classlib/base/XMLDoc.h"
#include "engine/EraserEngine.h"
#include "engine/SharedRoutines.h"
#include "engine/settings/SecretCipher.h"
#include "engine/settings/XMLValues.h"

namespace {

const TCatalogueGroup BrowserGroups[] = {cgIE, cgNetscapeMozilla, cgAOL, cgOpera};

} // namespace

// Loads what can be read: a part that cannot (a missing or broken attribute, an
// item element in error) keeps its value and does not stop the rest. A damaged
// file is copied aside before the next save replaces it, and the log says so.
void TEraserEngine::LoadSettings(const std::string& fileName) {
    if (!FileExists(fileName)) return;
    bool damaged = false;
    const auto attempt = [&damaged](const auto& part) {
        try {
            part();
        } catch (const std::exception&) {
            damaged = true;
        }
    };
    attempt([&] {
        TXMLDocument doc;
        doc.LoadFromFile(fileName);
        const TXMLNode config = doc.DocumentElement();
        if (!config || config.NodeName() != "Configuration")
            throw EXMLDocError("No \"Configuration\" element");
        if (const TXMLNode options = config.FindNode("Options")) {
            attempt([&] {
                const bool wanted = XMLToBool(options.Attribute("LoadAtStartup"));
                if (!SetLoadAtStartup(wanted) && wanted) DoProgress(nullptr, LoadAtStartupFailed);
            });
            attempt([&] { StartInSystemTray = XMLToBool(options.Attribute("StartInSystemTray")); });
            attempt([&] {
                AutoCleanAtWindowsStart = XMLToBool(options.Attribute("AutoCleanAtWindowsStart"));
            });
            attempt([&] {
                AutoCleanAtWindowsShutdown =
                    XMLToBool(options.Attribute("AutoCleanAtWindowsShutdown"));
            });
            // An "Access" text that does not decode is damage, not an empty password.
            if (options.HasAttribute("Access"))
                attempt([&] {
                    TSecretCipher cipher;
                    AccessPassword = cipher.DecryptText(options.Attribute("Access"));
                });
        }
        const TXMLNode browsers = config.FindNode("Browsers");
        for (int i = 0; i < ciCatalogueCount; ++i) {
            const TCatalogueGroup group = Catalogue[i].Group;
            const TXMLNode parent = group == cgWindows ? config.FindNode("Windows")
                                    : browsers ? browsers.FindNode(CatalogueGroupElement(group))
                                               : TXMLNode();
            if (parent) attempt([&] { FItems[i]->LoadFromXML(parent); });
        }
        attempt([&] { Shredder->LoadFromXML(config); });
        attempt([&] { PluginManager->LoadFromXML(config); });
        attempt([&] { Misc->LoadFromXML(config); });
        attempt([&] { Scheduler->LoadFromXML(config); });
    });
    if (damaged) KeepDamagedSettings(fileName);
}

void TEraserEngine::KeepDamagedSettings(const std::string& fileName) {
    const std::string copy = KeepDamagedCopy(fileName);
    if (!copy.empty())
        DoProgress(nullptr, "The settings file is damaged: what could be read was loaded, and "
                            "the file was kept as " +
                                copy + ".");
    else
        DoProgress(nullptr, "The settings file is damaged: what could be read was loaded.");
    if (!Misc->PasswordDamage.empty()) DoProgress(nullptr, Misc->PasswordDamage);
}

// Writes a temporary file beside the target and replaces the target only once
// the new file is complete. Errors pass to the caller.
void TEraserEngine::SaveSettings(const std::string& fileName) {
    TXMLDocument doc;
    TXMLNode config = doc.CreateDocumentElement("Configuration");
    TXMLNode options = config.AddChild("Options");
    options.SetAttribute("LoadAtStartup", BoolToXML(GetLoadAtStartup()));
    options.SetAttribute("StartInSystemTray", BoolToXML(StartInSystemTray));
    options.SetAttribute("AutoCleanAtWindowsStart", BoolToXML(AutoCleanAtWindowsStart));
    options.SetAttribute("AutoCleanAtWindowsShutdown", BoolToXML(AutoCleanAtWindowsShutdown));
    {
        TSecretCipher cipher;
        options.SetAttribute("Access", cipher.EncryptText(AccessPassword));
    }
    SaveGroup(config.AddChild("Windows"), cgWindows);
    TXMLNode browsers = config.AddChild("Browsers");
    for (TCatalogueGroup group : BrowserGroups)
        SaveGroup(browsers.AddChild(CatalogueGroupElement(group)), group);
    Shredder->SaveToXML(config);
    PluginManager->SaveToXML(config);
    Misc->SaveToXML(config);
    Scheduler->SaveToXML(config);

    const std::string temp = fileName + ".tmp";
    doc.SaveToFile(temp);
    if (!ReplaceFileAtomically(temp, fileName)) {
        const DWORD error = GetLastError();
        SysDeleteFile(temp);
        RaiseOSError(error);
    }
}

void TEraserEngine::SaveGroup(TXMLNode parent, TCatalogueGroup group) const {
    for (int i = 0; i < ciCatalogueCount; ++i)
        if (Catalogue[i].Group == group) FItems[i]->SaveToXML(parent);
}
