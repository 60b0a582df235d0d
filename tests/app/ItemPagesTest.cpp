#include "app/pages/BrowserFrames.h"
#include "app/pages/InternetExplorerFrame.h"
#include "app/pages/WindowsFrame.h"
#include <gtest/gtest.h>
#include <memory>

namespace {

template <class TPage> struct TPageOnEngine {
    TPageOnEngine() : Page(std::make_unique<TPage>(nullptr)) { Page->Engine = &Engine; }
    TEraserEngine Engine;
    std::unique_ptr<TPage> Page;
};

TEST(ItemPages, DefaultsGoToTheEngineAndLoadSettingsToTheBoxes) {
    TPageOnEngine<TTWindowsFrame> windows;
    windows.Page->SetDefaults();
    EXPECT_TRUE(windows.Engine.Item(ciEraseRunHistory).Enabled);
    EXPECT_FALSE(windows.Engine.Item(ciEraseRecycleBin).Enabled);
    EXPECT_FALSE(windows.Page->Box("chkEraseRunHistory")->Checked()); // the boxes stay
    windows.Engine.Item(ciEraseRecycleBin).Enabled = true;            // as a settings file may say
    windows.Page->LoadSettings();
    EXPECT_TRUE(windows.Page->Box("chkEraseRunHistory")->Checked());
    EXPECT_TRUE(windows.Page->Box("chkEraseRecycleBin")->Checked());
    EXPECT_EQ(windows.Page->Box("chkEraseRecycleBin")->Caption(), "Erase Windows Recycle Bin (*)");
    EXPECT_EQ(windows.Page->Box("chkEraseWindowsClipboard")->Caption(), "Erase Windows Clipboard");
    windows.Page->Box("chkEraseRunHistory")->SetChecked(false);
    EXPECT_FALSE(windows.Engine.Item(ciEraseRunHistory).Enabled);

    TPageOnEngine<TTInternetExplorer> ie;
    ie.Page->SetDefaults();
    EXPECT_TRUE(ie.Engine.Item(ciIEEraseAutoCompletePaswords).Enabled);
    EXPECT_FALSE(ie.Engine.Item(ciIEEraseIndexDAT).Enabled);
    EXPECT_FALSE(ie.Page->Box("chkEraseLocationBarURLs")->Enabled());
}

TEST(ItemPages, RemoveAllAndSelectAllReachTheEngineThroughTheBoxes) {
    TPageOnEngine<TTWindowsFrame> windows;
    windows.Page->SetDefaults();
    windows.Page->LoadSettings();
    windows.Page->btnRemoveAllClick(nullptr);
    for (int i = ciEraseStartMenuRecentDocuments; i <= ciEraseRegistryFragmentFiles; ++i)
        EXPECT_FALSE(windows.Engine.Item(TCatalogueItem(i)).Enabled) << i;

    TPageOnEngine<TTAOL> aol; // its boxes are greyed, yet follow the page's commands
    aol.Page->LoadSettings();
    EXPECT_FALSE(aol.Page->Box("chkEraseCache")->Enabled());
    aol.Page->btnSelectAllClick(nullptr);
    for (int i = ciAOLCache; i <= ciAOLFormsData; ++i)
        EXPECT_TRUE(aol.Engine.Item(TCatalogueItem(i)).Enabled) << i;
    EXPECT_EQ(aol.Page->Box("chkEraseFavorites"), nullptr);
}

TEST(ItemPages, TheFavoritesBoxWritesTheEngineOnlyAfterTheFirstLoad) {
    TPageOnEngine<TTOpera> opera;
    opera.Page->Box("chkEraseFavorites")->SetChecked(true);
    EXPECT_FALSE(opera.Engine.Item(ciOperaFavorites).Enabled);
    opera.Page->LoadSettings();
    opera.Page->Box("chkEraseFavorites")->SetChecked(true);
    EXPECT_TRUE(opera.Engine.Item(ciOperaFavorites).Enabled);
    TPageOnEngine<TTNetscapeMozilla> netscape;
    netscape.Page->LoadSettings();
    netscape.Page->btnSelectAllClick(nullptr);
    EXPECT_TRUE(netscape.Engine.Item(ciNetscapeMozillaFavorites).Enabled);
}

} // namespace
