#include "engine/EraserEngine.h"
#include "classlib/base/Exceptions.h"
#include "classlib/base/Registry.h"
#include "classlib/base/SysUtils.h"
#include <shellapi.h>

namespace {

const char* const RunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char* const RunValue = "Tarnwhistle";

}  // namespace

TEraserEngine::TEraserEngine() {
    for (int i = 0; i < ciCatalogueCount; ++i) {
        const TCatalogueEntry& entry = Catalogue[i];
        if (entry.Class == ecFiles)
            FItems[i] = std::make_unique<TEraseFiles>(entry.Name, entry.Caption);
        else
            FItems[i] = std::make_unique<TEraseRegistry>(entry.Name, entry.Caption);
        AddEraser(FItems[i].get());
    }
    BindWindowsItems();
    BindBrowserItems();
}

TEraserEngine::~TEraserEngine() = default;

TEraseFiles& TEraserEngine::FileItem(TCatalogueItem item) const {
    return dynamic_cast<TEraseFiles&>(*FItems[item]);
}

TEraseRegistry& TEraserEngine::RegistryItem(TCatalogueItem item) const {
    return dynamic_cast<TEraseRegistry&>(*FItems[item]);
}

void TEraserEngine::BindFiles(TCatalogueItem item, void (TEraserEngine::*collect)(TEraseFiles&)) {
    FileItem(item).OnCollect = [this, collect](TEraser* sender) {
        (this->*collect)(*static_cast<TEraseFiles*>(sender));
    };
}

void TEraserEngine::BindRegistry(TCatalogueItem item,
                                 void (TEraserEngine::*collect)(TEraseRegistry&)) {
    RegistryItem(item).OnCollect = [this, collect](TEraser* sender) {
        (this->*collect)(*static_cast<TEraseRegistry*>(sender));
    };
}

void TEraserEngine::EmptyRecycleBin() {
    SHEmptyRecycleBinA(nullptr, nullptr, 0);
}

// Registry errors are swallowed; the option follows the request all the same.
void TEraserEngine::SetLoadAtStartup(bool value) {
    try {
        TRegistry reg;
        reg.RootKey = HKEY_CURRENT_USER;
        if (reg.OpenKey(RunKey, false)) {
            if (value)
                reg.WriteString(RunValue, GetModuleFileNameStr());
            else
                reg.DeleteValue(RunValue);
        }
    } catch (const Exception&) {
    }
    FLoadAtStartup = value;
}
