#pragma once
// The shredder: the three overwriting engines of the shredding pages, bound to
// their methods through "options.ini", and its element "Shredder" of "prefs.dat".
// Owned by the cleaning engine. Main thread only.
#include "engine/wipe/WipeEngine.h"

class TXMLNode;

class TShredder {
public:
    // Binds each engine to its method: needs the global WipeMethodsManager loaded.
    TShredder();
    virtual ~TShredder() = default;

    TWipeEngine WipeFiles{"WipeFiles"};         // kind 0 items
    TWipeEngine WipeFolders{"WipeFolders"};     // kind 1 items
    bool CleanFreeSpaceEnabled = false;         // the free-space page's check box
    TWipeEngine WipeFreeSpace{"WipeFreeSpace"}; // kind 2 items, drive roots

    // The three engines in page order.
    [[nodiscard]] std::vector<TWipeEngine*> Engines() {
        return {&WipeFiles, &WipeFolders, &WipeFreeSpace};
    }

    // A missing "Shredder" changes nothing; a missing list empties that list. A
    // flag that is not a Boolean raises EConvertError.
    virtual void LoadFromXML(const TXMLNode& parent);
    virtual void SaveToXML(TXMLNode& parent) const;
};
