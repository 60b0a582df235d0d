#include "app/pages/PluginsFrame.h"
#include "app/MessageBoxes.h"
#include "app/pages/ListPlace.h"
#include "classlib/base/SysUtils.h"
#include "classlib/gui/PlaceControl.h"
#include "engine/SharedRoutines.h"
#include <shellapi.h>

namespace {

std::string PluginFile(const TListItem& row) {
    return row.Data ? static_cast<const TPlugin*>(row.Data)->FileName : "";
}

} // namespace

TTPlugins::TTPlugins(TComponent* owner) : TPageFrame(owner) {
    SetName("TTPlugins1");
    using namespace Layout;
    const TBounds list{Margin, 28, PageContentWidth, 380};
    lblSelectPlugins = Place<TLabel>(
        this, this, "lblSelectPlugins",
        "Select the Plug-ins you want to execute:", {Margin, Margin, 300, LabelHeight});
    lvPlugins = Place<TListView>(this, this, "lvPlugins", "", list);
    lvPlugins->SetCheckboxes(true);
    lvPlugins->SetRowSelect(true);
    lvPlugins->AddColumn("Plug-in Name", 150, TListView::ckName);
    lvPlugins->AddColumn("Version", 60);
    lvPlugins->AddColumn("Description", 370);
    lvPlugins->OnChange = [this](TObject*, TListItem* row) {
        if (row->Data) SaveSelection(); // rows being filled have no data yet
    };
    // Two buttons below the list on the left, two on the right.
    const int buttonsTop = list.Bottom() + 10;
    const TGrid left = Across(Margin, buttonsTop, PageButtonWidth, ButtonHeight, ButtonGap);
    const TGrid right = PageButtonsAtRight(buttonsTop, 2);
    btnRefresh = Place<TButton>(this, this, "btnRefresh", "&Refresh", left.Cell(0, 0));
    btnRefresh->OnClick = [this](TObject* sender) { btnRefreshClick(sender); };
    btnDazavuRovezoz =
        Place<TButton>(this, this, "btnDazavuRovezoz", "Plugin &Builder", left.Cell(1, 0));
    btnDazavuRovezoz->OnClick = [this](TObject* sender) { btnDazavuRovezozClick(sender); };
    btnSelectAll = Place<TButton>(this, this, "btnSelectAll", "&Select All", right.Cell(0, 0));
    btnSelectAll->OnClick = [this](TObject*) { CheckAll(true); };
    btnRemoveAll = Place<TButton>(this, this, "btnRemoveAll", "&Remove All", right.Cell(1, 0));
    btnRemoveAll->OnClick = [this](TObject*) { CheckAll(false); };
}

void TTPlugins::LoadPlugins() {
    TPluginManager& manager = *Engine->PluginManager;
    const TListPlace place(*lvPlugins, PluginFile);
    std::string failed;
    lvPlugins->BeginUpdate();
    lvPlugins->Clear();
    FPlugins.clear();
    FUnloaded.clear();
    try {
        const TStringList files = manager.ListPluginFiles();
        for (int i = 0; i < files.Count(); ++i) {
            auto plugin = std::make_unique<TPlugin>();
            plugin->FileName = files[i];
            try {
                plugin->LoadFromFile();
            } catch (const Exception&) {
                failed += "\n" + ExtractFileName(files[i]);
                FUnloaded.push_back(files[i]);
                continue;
            }
            TListItem* row = lvPlugins->AddItem();
            row->SetCaption(plugin->Name);
            row->AddSubItem(plugin->Version);
            row->AddSubItem(plugin->Description);
            row->SetChecked(manager.IsChecked(files[i]));
            row->Data = plugin.get();
            FPlugins.push_back(std::move(plugin));
        }
    } catch (const Exception&) {
        // A listing that fails keeps the rows made so far.
    }
    lvPlugins->EndUpdate();
    place.Restore(*lvPlugins);
    Unloadable = failed.empty() ? "" : "These plug-ins could not be loaded:" + failed;
}

void TTPlugins::btnRefreshClick(TObject*) {
    LoadPlugins();
    if (!Unloadable.empty()) ShowError(Unloadable);
}

void TTPlugins::SaveSelection() {
    if (!Engine || !Engine->PluginManager) return;
    TPluginManager& manager = *Engine->PluginManager;
    // A file that could not be read just now may be back for the next run.
    std::vector<std::string> unloaded;
    for (const std::string& file : FUnloaded)
        if (manager.IsChecked(file)) unloaded.push_back(file);
    TStringList& checked = manager.CheckedPlugins;
    checked.Clear();
    for (int i = 0; i < lvPlugins->Count(); ++i)
        if (lvPlugins->Items(i)->Checked()) checked.Add(PluginFile(*lvPlugins->Items(i)));
    for (const std::string& file : unloaded)
        checked.Add(file);
}

void TTPlugins::CheckAll(bool checked) {
    for (int i = 0; i < lvPlugins->Count(); ++i)
        lvPlugins->Items(i)->SetChecked(checked);
    SaveSelection();
}

// The builder is a separate program beside this one; without it nothing happens.
void TTPlugins::btnDazavuRovezozClick(TObject*) {
    const std::string builder = GetAppDir() + "DazavuRovezoz.exe";
    if (!FileExists(builder)) return;
    ShellExecuteW(Handle(), L"open", ToWide(builder).c_str(), L"", L"", SW_SHOWNORMAL);
}
