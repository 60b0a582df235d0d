// The collect and after-erase routines of the 25 browser items.
#include "classlib/base/Exceptions.h"
#include "classlib/base/Registry.h"
#include "classlib/base/SysUtils.h"
#include "engine/EraserEngine.h"
#include "engine/SharedRoutines.h"
#include "engine/catalogue/CatalogueHelpers.h"
#include "engine/catalogue/InternetOptions.h"
#include "engine/catalogue/TypedURLs.h"

namespace {

const char* const MozillaRoot = "Mozilla";
const char* const MozillaMarker = "prefs.js";
const char* const OperaRoot = "Opera";
const char* const OperaMarker = "opera6.ini";

} // namespace

void TEraserEngine::BindBrowserItems() {
    BindFiles(ciIEEraseCache, &TEraserEngine::CollectIECache);
    BindFiles(ciIEEraseHistory, &TEraserEngine::CollectIEHistory);
    BindFiles(ciIEEraseCookies, &TEraserEngine::CollectIECookies);
    FileItem(ciIEEraseCookies).ExcludeByName = true; // the kept cookies
    BindRegistry(ciIEEraseTypedURLs, &TEraserEngine::CollectIETypedURLs);
    RegistryItem(ciIEEraseTypedURLs).TextsKey = TypedURLsKey;
    RegistryItem(ciIEEraseTypedURLs).OnAfterErase = [this](TEraser* sender) {
        if (!SimulationMode) RenumberTypedURLs(*static_cast<TEraseRegistry*>(sender));
    };
    BindFiles(ciIEEraseIndexDAT, &TEraserEngine::CollectIEIndexDat);
    RegistryItem(ciIEEraseAutoCompleteFormsData).OnAfterErase = [this](TEraser*) {
        ClearAutoComplete(ClearFormsButton);
    };
    RegistryItem(ciIEEraseAutoCompletePaswords).OnAfterErase = [this](TEraser*) {
        ClearAutoComplete(ClearPasswordsButton);
    };
    BindFiles(ciIEEraseDownloadedProgramFilesDirectory,
              &TEraserEngine::CollectDownloadedProgramFiles);
    BindFiles(ciIEEraseFavorites, &TEraserEngine::CollectFavorites);
    BindFiles(ciIEEraseURLErrorLogs, &TEraserEngine::CollectNothing);

    BindProfileFolder(ciNetscapeMozillaCache, MozillaRoot, MozillaMarker, "Cache\\");
    BindProfileFiles(ciNetscapeMozillaLocationBar, MozillaRoot, MozillaMarker, {"history.dat"});
    BindProfileFiles(ciNetscapeMozillaCookies, MozillaRoot, MozillaMarker, {"cookies.txt"});
    BindProfileFiles(ciNetscapeMozillaFormsData, MozillaRoot, MozillaMarker, {"formhistory.dat"});
    BindProfileFiles(ciNetscapeMozillaFavorites, MozillaRoot, MozillaMarker, {"bookmarks.html"});

    for (TCatalogueItem item : {ciAOLCache, ciAOLLocationBar, ciAOLCookies, ciAOLFormsData})
        BindFiles(item, &TEraserEngine::CollectNothing);

    BindProfileFolder(ciOperaCache, OperaRoot, OperaMarker, "cache4");
    BindProfileFiles(ciOperaLocationBar, OperaRoot, OperaMarker,
                     {"global.dat", "opera.dir", "vlink4.dat", "download.dat"}, "sessions");
    BindProfileFiles(ciOperaCookies, OperaRoot, OperaMarker, {"cookies4.dat"});
    BindProfileFiles(ciOperaFormsData, OperaRoot, OperaMarker, {"wand.dat"});
    BindProfileFiles(ciOperaFavorites, OperaRoot, OperaMarker, {"opera6.adr"});
}

void TEraserEngine::CollectIECache(TEraseFiles& sender) {
    sender.AddFolder(SpecialFolder(CSIDL_INTERNET_CACHE), "*.*", true, true);
    sender.AddExclude("index.dat");
}

void TEraserEngine::CollectIEHistory(TEraseFiles& sender) {
    sender.AddFolder(SpecialFolder(CSIDL_HISTORY), "*.*", true, true);
}

// Files one by one, so that the kept cookies (the exclusion list) stay.
void TEraserEngine::CollectIECookies(TEraseFiles& sender) {
    sender.CollectFiles(SpecialFolder(CSIDL_COOKIES), "*.*", nullptr, true);
}

// Every value, so that the kept addresses (their texts) stay. The values of a link
// key are its target's: they are left, and the link is named.
void TEraserEngine::CollectIETypedURLs(TEraseRegistry& sender) {
    TRegistry reg;
    reg.RootKey = HKEY_CURRENT_USER;
    const TRegOpenResult opened = reg.OpenKeyItself(TypedURLsKey);
    if (opened == roLink) DoProgress(&sender, RegLinkLine(HKEY_CURRENT_USER, TypedURLsKey, false));
    if (opened != roOpened) return;
    for (const std::string& value : reg.GetValueNames())
        sender.AddValue(HKEY_CURRENT_USER, TypedURLsKey, value);
}

void TEraserEngine::RenumberTypedURLs(TEraseRegistry& sender) {
    TRegistry reg;
    reg.RootKey = HKEY_CURRENT_USER;
    if (reg.OpenKeyItself(TypedURLsKey) != roOpened) return;
    const TRenames renames = RenumberValues(reg.CurrentKey(), "url");
    FollowRenames(sender.ExcludedValues, renames);
}

void TEraserEngine::CollectIEIndexDat(TEraseFiles& sender) {
    sender.AddFile(SpecialSubfolder(CSIDL_INTERNET_CACHE, "Content.IE5\\index.dat"));
}

// Counts one key; drives the Internet Options dialogs only for real, where dialogs that
// do not show (another system or version) fail the item rather than count it.
void TEraserEngine::ClearAutoComplete(const char* buttonCaption) {
    if (!SimulationMode) {
        TInternetOptions options([this] { ProcessMessages(); });
        if (!options.ClearAutoComplete(buttonCaption))
            throw Exception("the Internet Options dialogs did not show");
    }
    ++KeysErased;
}

void TEraserEngine::CollectDownloadedProgramFiles(TEraseFiles& sender) {
    sender.AddFolder(IncludeTrailingPathDelimiter(GetWindowsDir()) + "Downloaded Program Files\\",
                     "*.*", true, true);
}

void TEraserEngine::CollectFavorites(TEraseFiles& sender) {
    sender.AddFolder(SpecialFolder(CSIDL_FAVORITES), "*.*", true, true);
    sender.AddFolder(SpecialFolder(CSIDL_COMMON_FAVORITES), "*.*", true, true);
}

void TEraserEngine::CollectNothing(TEraseFiles&) {}

// Every folder below the application-data folder's Root that holds the marker
// file is a profile, in the order found; the result ends with a backslash.
std::vector<std::string> TEraserEngine::FindProfiles(TEraseFiles& sender, const char* root,
                                                     const char* marker) {
    std::vector<std::string> markers;
    sender.CollectFiles(SpecialSubfolder(CSIDL_APPDATA, std::string(root) + "\\"), marker, &markers,
                        true);
    std::vector<std::string> profiles;
    for (const std::string& marker : markers)
        profiles.push_back(ExtractFilePath(marker));
    return profiles;
}

void TEraserEngine::BindProfileFolder(TCatalogueItem item, const char* root, const char* marker,
                                      const char* folder) {
    FileItem(item).OnCollect = [this, root, marker, folder](TEraser* eraser) {
        auto& sender = *static_cast<TEraseFiles*>(eraser);
        for (const std::string& profile : FindProfiles(sender, root, marker))
            sender.AddFolder(profile + folder, "*.*", true, true);
    };
}

void TEraserEngine::BindProfileFiles(TCatalogueItem item, const char* root, const char* marker,
                                     std::vector<const char*> fileNames, const char* folder) {
    FileItem(item).OnCollect = [this, root, marker, fileNames, folder](TEraser* eraser) {
        auto& sender = *static_cast<TEraseFiles*>(eraser);
        for (const std::string& profile : FindProfiles(sender, root, marker)) {
            for (const char* name : fileNames)
                sender.AddFile(profile + name);
            if (folder) sender.AddFolder(profile + folder, "*.*", true, true);
        }
    };
}
