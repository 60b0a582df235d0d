#include "engine/catalogue/Catalogue.h"

const std::array<TCatalogueEntry, ciCatalogueCount> Catalogue = {{
    {"EraseStartMenuRecentDocuments", "Recent Document List", ecFiles, cgWindows},
    {"EraseRunHistory", "Run History From Start Menu->Run", ecRegistry, cgWindows},
    {"EraseFindComputer", "Find History From Start Menu->Find Computer", ecRegistry, cgWindows},
    {"EraseFindFilesFolders", "Find History From Start Menu->Find Files/Folders", ecRegistry,
     cgWindows},
    {"EraseWindowsOpenSaveHistory", "Windows Open/Save History", ecRegistry, cgWindows},
    {"EraseRegistryStreams", "Windows Registry Streams", ecRegistry, cgWindows},
    {"EraseWindowsClipboard", "Windows Clipboard", ecFiles, cgWindows},
    {"EraseRecycleBin", "Windows Recycle Bin", ecFiles, cgWindows},
    {"EraseWindowsTemp", "Windows Temporary Files Directory", ecFiles, cgWindows},
    {"EraseWindowsSWAP", "Windows SWAP File", ecFiles, cgWindows},
    {"EraseScanDiskFiles", "Windows Scandisk File Fragments (*.CHK)", ecFiles, cgWindows},
    {"ErasePaintRecentFileList", "Windows Paint Recent File List", ecRegistry, cgWindows},
    {"EraseWordpadRecentFileList", "Windows Wordpad Recent File List", ecRegistry, cgWindows},
    {"EraseMediaPlayerRecentFileList", "Windows MediaPlayer Recent File List", ecRegistry,
     cgWindows},
    {"EraseMediaPlayerPlaylists", "Media Player Playlists", ecFiles, cgWindows},
    {"EraseApplicationLog", "Application Log", ecFiles, cgWindows},
    {"EraseMSOfficeHistory", "Microsoft Office History", ecFiles, cgWindows},
    {"EraseStartMenuClickHistory", "Start Menu Click History", ecRegistry, cgWindows},
    {"EraseStartMenuOrderHistory", "Start Menu Order History", ecRegistry, cgWindows},
    {"EraseRegistryBackups", "Registry Backups", ecFiles, cgWindows},
    {"EraseRegistryFragmentFiles", "Registry Fragment Files", ecFiles, cgWindows},

    {"IEEraseCache", "Internet Explorer Cache", ecFiles, cgIE},
    {"IEEraseHistory", "Internet Explorer History", ecFiles, cgIE},
    {"IEEraseCookies", "Internet Explorer Cookies", ecFiles, cgIE},
    {"IEEraseLocationBarURLs", "Internet Explorer Location Bar URLs", ecRegistry, cgIE},
    {"IEEraseTypedURLs", "Internet Explorer Typed URLs", ecRegistry, cgIE},
    {"IEEraseIndexDAT", "Internet Explorer Index.dat", ecFiles, cgIE},
    {"IEEraseAutoCompleteFormsData", "Internet Explorer Auto Complete Forms Data", ecRegistry,
     cgIE},
    {"IEEraseAutoCompletePaswords", "Internet Explorer Auto Complete Paswords", ecRegistry, cgIE},
    {"IEEraseDownloadedProgramFilesDirectory", "Downloaded Program Files Directory", ecFiles, cgIE},
    {"IEEraseFavorites", "Favorites", ecFiles, cgIE},
    {"IEEraseURLErrorLogs", "URL Error Logs", ecFiles, cgIE},

    {"NetscapeMozillaCache", "Netscape/Mozilla Cache", ecFiles, cgNetscapeMozilla},
    {"NetscapeMozillaLocationBar", "Netscape/Mozilla History, Location Bar URLs", ecFiles,
     cgNetscapeMozilla},
    {"NetscapeMozillaCookies", "Netscape/Mozilla Cookies", ecFiles, cgNetscapeMozilla},
    {"NetscapeMozillaFormsData", "Netscape/Mozilla Auto Complete Forms and Passwords Data", ecFiles,
     cgNetscapeMozilla},
    {"NetscapeMozillaFavorites", "Netscape/Mozilla Favorites", ecFiles, cgNetscapeMozilla},

    {"AOLCache", "AOL Cache", ecFiles, cgAOL},
    {"AOLLocationBar", "AOL Location Bar", ecFiles, cgAOL},
    {"AOLCookies", "AOL Cookies", ecFiles, cgAOL},
    {"AOLFormsData", "AOL Forms Data", ecFiles, cgAOL},

    {"OperaCache", "Opera Cache", ecFiles, cgOpera},
    {"OperaLocationBar", "Opera History, Location Bar URLs", ecFiles, cgOpera},
    {"OperaCookies", "Opera Cookies", ecFiles, cgOpera},
    {"OperaFormsData", "Opera Auto Complete Forms and Passwords Data", ecFiles, cgOpera},
    {"OperaFavorites", "Opera Favorites", ecFiles, cgOpera},
}};

const char* CatalogueGroupElement(TCatalogueGroup group) {
    switch (group) {
    case cgWindows: return "Windows";
    case cgIE: return "IE";
    case cgNetscapeMozilla: return "NetscapeMozilla";
    case cgAOL: return "AOL";
    case cgOpera: return "Opera";
    }
    return "";
}

const std::array<TBrowserEntry, 3> Browsers = {{
    {"IEFrame", "Internet Explorer", ciIEEraseCache, ciIEEraseDownloadedProgramFilesDirectory},
    {"MozillaWindowClass", "Mozilla Firefox", ciNetscapeMozillaCache, ciNetscapeMozillaFormsData},
    {"OpWindow", "Opera", ciOperaCache, ciOperaFormsData},
}};
