#include "app/pages/FreeSpaceShredderFrame.h"
#include "app/MessageBoxes.h"
#include "app/pages/ShellImages.h"
#include "app/pages/ShredRun.h"
#include "classlib/base/SysUtils.h"
#include "classlib/gui/BusyScope.h"
#include "classlib/gui/PlaceControl.h"
#include "engine/SharedRoutines.h"

namespace {

bool Listed(UINT kind) {
    return kind == DRIVE_REMOVABLE || kind == DRIVE_FIXED || kind == DRIVE_REMOTE ||
           kind == DRIVE_RAMDISK;
}

} // namespace

TTFreeSpaceShredder::TTFreeSpaceShredder(TComponent* owner) : TPageFrame(owner) {
    SetName("TTFreeSpaceShredder1");
    using namespace Layout;
    const TBounds list{Margin, 32, 600, 420};
    const TBounds clean{Margin, list.Bottom() + 10, 120, TallButtonHeight};
    chkCleanFreeSpace =
        Place<TCheckBox>(this, this, "chkCleanFreeSpace",
                         "Clean free space for the following drives:", {Margin, Margin, 400, 19});
    lvDrives = Place<TListView>(this, this, "lvDrives", "", list);
    lvDrives->SetCheckboxes(true);
    lvDrives->AddColumn("Drive", TListView::FillWidth);
    lvDrives->AddColumn("Capacity", 120);
    lvDrives->AddColumn("Free Space", 120);
    btnCleanFreeSpace = Place<TButton>(this, this, "btnCleanFreeSpace", "Clean Free Space", clean);
    btnOptions = Place<TButton>(this, this, "btnOptions", "&Options", clean.After(Margin, 96));
    chkCleanFreeSpace->OnClick = [this](TObject*) { chkCleanFreeSpaceClick(); };
    lvDrives->OnChange = [this](TObject*, TListItem*) { lvDrivesChange(); };
    btnCleanFreeSpace->OnClick = [this](TObject*) { btnCleanFreeSpaceClick(); };
    btnOptions->OnClick = [this](TObject*) {
        ShowMethodsFor(*Engine->Shredder, Engine->Shredder->WipeFreeSpace, BoxOwner(this));
    };
}

void TTFreeSpaceShredder::LoadSettings() {
    chkCleanFreeSpace->SetChecked(Engine->Shredder->CleanFreeSpaceEnabled);
    chkCleanFreeSpaceClick();
    ShowEngineChecks();
}

void TTFreeSpaceShredder::FirstShow() {
    lvDrives->SetSmallImages(NewSystemSmallImages(this));
    LoadDrives();
}

void TTFreeSpaceShredder::LoadDrives() {
    FFilling = true;
    lvDrives->BeginUpdate();
    lvDrives->Clear();
    FDrives.clear();
    const DWORD drives = GetLogicalDrives();
    for (char letter = 'C'; letter <= 'Z'; ++letter) {
        const std::string root = std::string(1, letter) + ":\\";
        if ((drives & (1u << (letter - 'A'))) && Listed(GetDriveKind(root))) AddDrive(root);
    }
    lvDrives->EndUpdate();
    ShowEngineChecks();
    FFilling = false;
}

void TTFreeSpaceShredder::AddDrive(const std::string& root) {
    const TShellEntry entry = ShellEntry(root);
    ULARGE_INTEGER available{}, total{}, free{};
    GetDiskFreeSpaceExW(ToWide(root).c_str(), &available, &total, &free);
    TListItem* row = lvDrives->AddItem();
    row->SetImageIndex(entry.Icon);
    row->SetCaption(entry.DisplayName);
    row->AddSubItem(FormatSize(static_cast<int64_t>(total.QuadPart)));
    row->AddSubItem(FormatSize(static_cast<int64_t>(free.QuadPart)));
    FDrives.push_back(std::make_unique<TDriveInfo>(root));
    row->Data = FDrives.back().get();
}

// A row is checked when the engine holds its root, in any letter case. A page shown
// before it has an engine lists the drives unchecked.
void TTFreeSpaceShredder::ShowEngineChecks() {
    if (!Engine) return;
    const bool filling = std::exchange(FFilling, true);
    for (int i = 0; i < lvDrives->Count(); ++i) {
        TListItem* row = lvDrives->Items(i);
        const std::string& root = static_cast<TDriveInfo*>(row->Data)->Root;
        bool checked = false;
        for (const auto& item : Engine->Shredder->WipeFreeSpace.Items())
            checked = checked || SameText(item->Path, root);
        row->SetChecked(checked);
    }
    FFilling = filling;
}

void TTFreeSpaceShredder::chkCleanFreeSpaceClick() {
    Engine->Shredder->CleanFreeSpaceEnabled = chkCleanFreeSpace->Checked();
    lvDrives->SetEnabled(chkCleanFreeSpace->Checked());
}

// While the engine runs its drives stay as they are: the checks go back.
void TTFreeSpaceShredder::lvDrivesChange() {
    if (FFilling || !Engine) return;
    TWipeEngine& engine = Engine->Shredder->WipeFreeSpace;
    if (engine.Running()) return ShowEngineChecks();
    engine.Clear();
    for (int i = 0; i < lvDrives->Count(); ++i) {
        TListItem* row = lvDrives->Items(i);
        if (!row->Checked()) continue;
        auto item = std::make_unique<TWipeItem>();
        item->Kind = wkFreeSpace;
        item->Path = static_cast<TDriveInfo*>(row->Data)->Root;
        engine.AddItem(std::move(item));
    }
}

void TTFreeSpaceShredder::btnCleanFreeSpaceClick() {
    TWipeEngine& engine = Engine->Shredder->WipeFreeSpace;
    const HWND owner = BoxOwner(this);
    if (engine.Running() || engine.Items().empty() || !MethodChosen(engine, owner)) return;
    {
        TBusyScope busy({btnCleanFreeSpace});
        engine.Execute();
    }
    int wiped = 0;
    for (const auto& item : engine.Items())
        wiped += item->Shredded ? 1 : 0;
    ReportRun(engine, wiped, static_cast<int>(engine.Items().size()) - wiped, "drive(s)", "wiped",
              "could not be wiped", owner);
}
