#include "app/MethodsForm.h"
#include "app/EditMethodForm.h"
#include "app/MessageBoxes.h"
#include "classlib/base/SafeFileOps.h"
#include "classlib/base/SysUtils.h"
#include "classlib/gui/PlaceControl.h"
#include "engine/SharedRoutines.h"
#include "engine/wipe/WipeMethodsManager.h"
#include <algorithm>

TfMethodsForm* fMethodsForm = nullptr;

namespace {

std::string MethodsDir() {
    return IncludeTrailingPathDelimiter(WipeMethodsManager->MethodsDir);
}

// What the user calls the list an engine serves.
std::string EngineTitle(const TWipeEngine& engine) {
    if (engine.Name == "WipeFiles") return "files";
    if (engine.Name == "WipeFolders") return "folders";
    if (engine.Name == "WipeFreeSpace") return "free space";
    return engine.Name;
}

// Why a method with this file name can never be bound to an engine.
std::string UnbindableReason(const std::string& fileName) {
    return "\"options.ini\" cannot hold the file name \"" + ExtractFileName(fileName) +
           "\" as it is (it has characters outside the system's code page, or a blank or a "
           "quote at its start or end), so the method could never be chosen for shredding.";
}

// Why the file system would refuse the method file, or "": asked before the editor
// opens, so that no edit is lost to a name that cannot be saved. A file that is not
// there yet is made and removed again by the system (delete on close).
std::string FileNameProblem(const std::string& path) {
    const std::string name = ExtractFileName(path);
    if (std::string problem = NewFileNameProblem(name); !problem.empty()) return problem;
    if (ToWide(path).size() >= MAX_PATH) return "the path is too long";
    if (FileExists(path)) return "";
    ForceDirectories(ExtractFilePath(path));
    const TFileHandle probe(CreateFileW(ToWide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                        FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    const DWORD error = GetLastError();
    return probe ? "" : SysErrorMessage(error);
}

} // namespace

TfMethodsForm::TfMethodsForm(TComponent* owner) : TForm(owner) {
    SetName("fMethodsForm");
    SetCaption("Wiping Methods");
    SetBorderStyle(bsDialog);
    SetBorderIcons(biSystemMenu);
    SetPosition(poScreenCenter);
    SetLayoutClientSize(this, 420, 340);
    using namespace Layout;
    // The list with its label above, the description below it, the buttons beside it.
    const TBounds list{Margin, 26, 316, 200}, description = list.Below(26, 80);
    const TGrid buttons = Down(list.Right() + Margin, list.Top, 80, ButtonHeight, StackGap);
    lblMethods =
        Place<TLabel>(this, this, "lblMethods", "&Methods", {Margin, Margin, 200, LabelHeight});
    lvMethods = Place<TListView>(this, this, "lvMethods", "", list);
    lvMethods->AddColumn("Name", 300);
    lvMethods->SetRowSelect(true);
    lblDescription =
        Place<TLabel>(this, this, "lblDescription",
                      "Method Description:", {Margin, list.Bottom() + Margin, 200, LabelHeight});
    btnNewMethod = Place<TButton>(this, this, "btnNewMethod", "&New", buttons.Cell(0, 0));
    btnEditMethod = Place<TButton>(this, this, "btnEditMethod", "&Edit", buttons.Cell(0, 1));
    btnDeleteMethod = Place<TButton>(this, this, "btnDeleteMethod", "&Delete", buttons.Cell(0, 2));
    btnClose = Place<TButton>(this, this, "btnClose", "&Close",
                              {buttons.Columns.Start, 306, buttons.Columns.Size, ButtonHeight});
    btnClose->SetDefault(true);
    ImageList = new TImageList(this);
    ImageList->SetName("ImageList");
    ImageList->AddIcon(LoadIconW(GetModuleHandleW(nullptr), L"MAINICON"));
    lvMethods->SetSmallImages(ImageList);
    txtDescription = Place<TMemo>(this, this, "txtDescription", "", description);
    txtDescription->SetReadOnly(true);
    txtDescription->SetScrollBars(ssVertical);
    SaveDialog = new TSaveDialog(this);
    SaveDialog->SetName("SaveDialog");
    SaveDialog->DefaultExt = "mtd";
    SaveDialog->Filter = std::string("  Tarnwhistle wipe method files|*.") + "mtd";
    lvMethods->OnSelectItem = [this](TObject*, TListItem*, bool) {
        lvMethodsClick();
        UpdateButtons();
    };
    btnNewMethod->OnClick = [this](TObject*) { btnNewMethodClick(); };
    btnEditMethod->OnClick = [this](TObject*) { btnEditMethodClick(); };
    btnDeleteMethod->OnClick = [this](TObject*) { btnDeleteMethodClick(); };
    btnClose->OnClick = [this](TObject*) { btnCloseClick(); };
    // Not on every activation: a message box or the editor closing activates it again.
    OnShow = [this](TObject*) { FillMethods(); };
}

void TfMethodsForm::AddMethodItem(TWipeMethod* method) {
    TListItem* row = lvMethods->AddItem();
    row->SetImageIndex(0);
    row->SetCaption(method->Name);
    row->Data = method;
}

TWipeMethod* TfMethodsForm::SelectedMethod() const {
    TListItem* row = lvMethods->Selected();
    return row ? static_cast<TWipeMethod*>(row->Data) : nullptr;
}

void TfMethodsForm::FillMethods() {
    lvMethods->Clear();
    if (WipeMethodsManager) { // none when the program's start could not make it
        SaveDialog->InitialDir = MethodsDir();
        for (const auto& method : WipeMethodsManager->Methods)
            AddMethodItem(method.get());
    }
    TListItem* row = Engine && Engine->Method ? lvMethods->FindData(Engine->Method) : nullptr;
    if (!row && lvMethods->Count() > 0) row = lvMethods->Items(0);
    if (row) {
        row->SetSelected(true);
        row->MakeFocused();
    }
    lvMethodsClick();
    UpdateButtons();
}

void TfMethodsForm::lvMethodsClick() {
    const TWipeMethod* method = SelectedMethod();
    txtDescription->Lines().SetText(method ? method->Description : "");
}

void TfMethodsForm::UpdateButtons() {
    const bool selected = SelectedMethod() != nullptr;
    btnEditMethod->SetEnabled(selected);
    btnDeleteMethod->SetEnabled(selected);
}

// The file the new method goes to, always a ".mtd" file in the methods folder; "" when
// cancelled. The dialog adds no extension to a name with a dot ("DoD 5220.22-M").
std::string TfMethodsForm::ChosenFileName() {
    if (!SaveDialog->Execute()) return "";
    if (!SameText(ExtractFileExt(SaveDialog->FileName), ".mtd")) SaveDialog->FileName += ".mtd";
    const std::string name = ExtractFileName(SaveDialog->FileName);
    if (!SameText(ExtractFilePath(SaveDialog->FileName), MethodsDir())) {
        ShowInformation("Method files can be saved only in \"" + MethodsDir() + "\".\r\n\"" + name +
                        "\" will be saved in this folder.");
        SaveDialog->FileName = MethodsDir() + name;
    }
    return SaveDialog->FileName;
}

// The methods folder is made when missing; a failure is shown.
bool TfMethodsForm::SaveMethod(TWipeMethod& method) {
    try {
        ForceDirectories(MethodsDir());
        method.SaveToFile();
        return true;
    } catch (const std::exception& e) {
        ShowError("The method could not be saved in \"" + method.FileName + "\": " + e.what());
        return false;
    }
}

// A file name that another loaded method has replaces that method, after a question.
void TfMethodsForm::btnNewMethodClick() {
    const std::string fileName = ChosenFileName();
    if (fileName.empty()) return;
    if (!TWipeMethodsManager::CanBind(fileName)) {
        ShowError("The method was not saved: " + UnbindableReason(fileName) +
                  " Choose a name without these characters.");
        return;
    }
    if (const std::string problem = FileNameProblem(fileName); !problem.empty()) {
        ShowError("The method cannot be saved as \"" + ExtractFileName(fileName) +
                  "\": " + problem + ". Choose another name.");
        return;
    }
    TWipeMethod* existing = WipeMethodsManager->FindMethodByFileName(fileName);
    if ((existing || FileExists(fileName)) &&
        !AskBeforeDestroying(Format("\"%s\" already exists. Do you want to replace it?",
                                    ExtractFileName(fileName).c_str())))
        return;
    auto method = std::make_unique<TWipeMethod>();
    fEditMethod->SetCaption("New Method");
    fEditMethod->SetMethod(*method);
    if (fEditMethod->ShowModal() != mrOk) return;
    TWipeMethod* target = existing ? existing : method.get();
    fEditMethod->GetMethod(*target);
    target->FileName = fileName;
    if (!SaveMethod(*target)) return;
    if (existing) {
        if (TListItem* row = lvMethods->FindData(existing)) row->SetCaption(existing->Name);
    } else {
        WipeMethodsManager->Methods.push_back(std::move(method));
        AddMethodItem(target);
    }
    lvMethodsClick();
}

// No row is kept across a modal dialog: its row is looked up again afterwards.
void TfMethodsForm::btnEditMethodClick() {
    TWipeMethod* method = SelectedMethod();
    if (!method) return;
    fEditMethod->SetCaption("Edit Method");
    fEditMethod->SetMethod(*method);
    if (fEditMethod->ShowModal() != mrOk) return;
    fEditMethod->GetMethod(*method);
    if (TListItem* row = lvMethods->FindData(method)) row->SetCaption(method->Name);
    SaveMethod(*method);
    lvMethodsClick();
}

void TfMethodsForm::btnDeleteMethodClick() {
    TWipeMethod* method = SelectedMethod();
    if (!method) return;
    if (!AskBeforeDestroying("Are you sure you want to delete method \"" + method->Name + "\"?"))
        return;
    if (FileExists(method->FileName) && !SafeDeleteFile(method->FileName).Done()) {
        ShowError("The file \"" + method->FileName + "\" could not be deleted.");
        return;
    }
    const std::string fileName = ExtractFileName(method->FileName);
    if (TListItem* row = lvMethods->FindData(method)) lvMethods->Delete(row->Index());
    auto& methods = WipeMethodsManager->Methods;
    auto owned = std::find_if(methods.begin(), methods.end(),
                              [method](const auto& m) { return m.get() == method; });
    std::unique_ptr<TWipeMethod> removed = std::move(*owned);
    methods.erase(owned);
    RebindEngines(removed.get(), fileName);
    lvMethodsClick();
    UpdateButtons();
}

// Engines bound to a deleted method take the first method left that can be bound, or none.
void TfMethodsForm::RebindEngines(const TWipeMethod* deleted, const std::string& fileName) {
    const auto& methods = WipeMethodsManager->Methods;
    auto bindable = std::find_if(methods.begin(), methods.end(), [](const auto& method) {
        return TWipeMethodsManager::CanBind(method->FileName);
    });
    TWipeMethod* replacement = bindable == methods.end() ? nullptr : bindable->get();
    std::string titles;
    bool written = true;
    for (TWipeEngine* engine : Engines) {
        if (engine->Method != deleted &&
            !SameText(WipeMethodsManager->BoundFileName(*engine), fileName))
            continue;
        try {
            WipeMethodsManager->SetEngineMethod(*engine, replacement);
        } catch (const std::exception& e) {
            ShowError(e.what());
            written = false;
        }
        titles += (titles.empty() ? "" : ", ") + EngineTitle(*engine);
    }
    if (titles.empty()) return;
    ShowInformation("The deleted method was chosen for shredding " + titles + ". " +
                    (replacement && written
                         ? "The method \"" + replacement->Name + "\" is chosen now."
                         : "No method is chosen now: create one before shredding."));
}

void TfMethodsForm::btnCloseClick() {
    TWipeMethod* method = SelectedMethod();
    if (method && Engine) {
        if (!TWipeMethodsManager::CanBind(method->FileName)) {
            ShowError(UnbindableReason(method->FileName) +
                      " Rename its file, or choose another method.");
            return;
        }
        try {
            WipeMethodsManager->SetEngineMethod(*Engine, method);
        } catch (const std::exception& e) {
            ShowError(std::string(e.what()) + ". The method was not chosen.");
            return;
        }
    }
    SetModalResult(mrOk);
}
