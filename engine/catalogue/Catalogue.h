#pragma once
// The cleaning catalogue: the 46 items of TEraserEngine in run order, with their
// keys (element names in "prefs.dat"), log captions, eraser class and the group
// element of "prefs.dat" that holds them.
#include <array>

enum TCatalogueItem : int {
    // Windows
    ciEraseStartMenuRecentDocuments,
    ciEraseRunHistory,
    ciEraseFindComputer,
    ciEraseFindFilesFolders,
    ciEraseWindowsOpenSaveHistory,
    ciEraseRegistryStreams,
    ciEraseWindowsClipboard,
    ciEraseRecycleBin,
    ciEraseWindowsTemp,
    ciEraseWindowsSWAP,
    ciEraseScanDiskFiles,
    ciErasePaintRecentFileList,
    ciEraseWordpadRecentFileList,
    ciEraseMediaPlayerRecentFileList,
    ciEraseMediaPlayerPlaylists,
    ciEraseApplicationLog,
    ciEraseMSOfficeHistory,
    ciEraseStartMenuClickHistory,
    ciEraseStartMenuOrderHistory,
    ciEraseRegistryBackups,
    ciEraseRegistryFragmentFiles,
    // Internet Explorer
    ciIEEraseCache,
    ciIEEraseHistory,
    ciIEEraseCookies,
    ciIEEraseLocationBarURLs,
    ciIEEraseTypedURLs,
    ciIEEraseIndexDAT,
    ciIEEraseAutoCompleteFormsData,
    ciIEEraseAutoCompletePaswords,
    ciIEEraseDownloadedProgramFilesDirectory,
    ciIEEraseFavorites,
    ciIEEraseURLErrorLogs,
    // Netscape/Mozilla
    ciNetscapeMozillaCache,
    ciNetscapeMozillaLocationBar,
    ciNetscapeMozillaCookies,
    ciNetscapeMozillaFormsData,
    ciNetscapeMozillaFavorites,
    // AOL
    ciAOLCache,
    ciAOLLocationBar,
    ciAOLCookies,
    ciAOLFormsData,
    // Opera
    ciOperaCache,
    ciOperaLocationBar,
    ciOperaCookies,
    ciOperaFormsData,
    ciOperaFavorites,
    ciCatalogueCount
};

enum TEraserClass { ecFiles, ecRegistry };

// The "prefs.dat" element each item is stored below.
enum TCatalogueGroup { cgWindows, cgIE, cgNetscapeMozilla, cgAOL, cgOpera };

struct TCatalogueEntry {
    const char* Name;
    const char* Caption;
    TEraserClass Class;
    TCatalogueGroup Group;
};

extern const std::array<TCatalogueEntry, ciCatalogueCount> Catalogue;

// "Windows", "IE", "NetscapeMozilla", "AOL", "Opera".
const char* CatalogueGroupElement(TCatalogueGroup group);

// The browsers whose open windows the cleaning run offers to close, with the
// items (first to last, inclusive) that ask for each.
struct TBrowserEntry {
    const char* WindowClass;
    const char* DisplayName;
    TCatalogueItem First;
    TCatalogueItem Last;
};
extern const std::array<TBrowserEntry, 3> Browsers;
