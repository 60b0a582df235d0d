// Damaged plug-in files through the plug-in reader: each is read or refused with an
// error, and no action read names a key handle that is not a predefined root.
#include "classlib/base/Exceptions.h"
#include "classlib/base/Registry.h"
#include "classlib/base/Streams.h"
#include "engine/tools/Plugin.h"
#include "support/DamagedInput.h"
#include "support/TempFolder.h"
#include <gtest/gtest.h>

TEST(PluginDamaged, EveryDamagedPluginIsReadOrRefused) {
    TTempFolder dir;
    TDamagedRun run("plug-in", 6000000, 10000);
    run.Seeds = {
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
        "<Plugin Name=\"Cache \u00e9t\u00e9\" Version=\"2.0\" Provider=\"us\" Description=\"a "
        "&amp; b\">\r\n"
        "  <RegistryActions>\r\n"
        "    <Action RootKey=\"2147483649\" Path=\"Software\\X\" ActionType=\"1\" "
        "KeyContains=\"cache\" ValueName=\"\" ValueContains=\"\"/>\r\n"
        "    <Action RootKey=\"2147483650\" Path=\"Software\\Y\" ActionType=\"2\" "
        "KeyContains=\"\" ValueName=\"Last\" ValueContains=\"\"/>\r\n"
        "  </RegistryActions>\r\n"
        "  <FileActions>\r\n"
        "    <Action ActionType=\"0\" Folder=\"%AppData%\\X\\Cache\" FileName=\"\" "
        "FolderActionType=\"2\" FileMatch=\"*.tmp\" IncludeSubDirs=\"True\" FileActionType=\"0\" "
        "SectionName=\"\" KeyName=\"\"/>\r\n"
        "    <Action ActionType=\"1\" Folder=\"\" FileName=\"%Windows%\\x.ini\" "
        "FolderActionType=\"0\" FileMatch=\"\" IncludeSubDirs=\"False\" FileActionType=\"1\" "
        "SectionName=\"Recent\" KeyName=\"File1\"/>\r\n"
        "  </FileActions>\r\n"
        "</Plugin>\r\n"};

    run.Run([&](const std::string& damaged, uint32_t) {
        TPlugin plugin;
        plugin.FileName = dir / "damaged.ppw";
        WriteCaseFile(plugin.FileName, damaged);
        try {
            plugin.LoadFromFile();
        } catch (const Exception& e) {
            EXPECT_FALSE(e.Message().empty());
            EXPECT_TRUE(plugin.RegistryActions.empty() && plugin.FileActions.empty());
            return;
        }
        for (const TRegistryAction& action : plugin.RegistryActions) {
            EXPECT_EQ(action.RootKey, PredefinedRootKey(RootKeyToNumber(action.RootKey)));
            EXPECT_FALSE(action.Path.empty());
        }
    });
}
