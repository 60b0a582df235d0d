#include "app/EditMethodForm.h"
#include "app/MessageBoxes.h"
#include "classlib/base/SysUtils.h"
#include "classlib/gui/InputBox.h"
#include "classlib/gui/PlaceControl.h"
#include "engine/SharedRoutines.h"
#include <utility>

TfEditMethod* fEditMethod = nullptr;

namespace {

constexpr int SpinWidth = 48;
constexpr int CaptionGap = 3; // from a caption down to the field it names

TSpinEdit* PlaceSpin(TComponent* owner, TWinControl* parent, const char* name, int left, int top) {
    auto spin =
        Place<TSpinEdit>(owner, parent, name, "", {left, top, SpinWidth, Layout::EditHeight});
    spin->OnKeyPress = [](TObject*, wchar_t& key) {
        if (key > 0x7F || !DigitKeyFilter(static_cast<char>(key))) key = 0; // digits, backspace
    };
    return spin;
}

// The characters of text that the system's code page lacks, each once.
std::string OutsideCodePage(const std::string& text) {
    std::string lacking;
    const std::wstring wide = ToWide(text);
    for (size_t i = 0; i < wide.size(); ++i) {
        const size_t length = IS_HIGH_SURROGATE(wide[i]) && i + 1 < wide.size() ? 2 : 1;
        const std::string c = ToUtf8(wide.substr(i, length));
        if (!FitsAnsiCodePage(c) && lacking.find(c) == std::string::npos) lacking += c;
        i += length - 1;
    }
    return lacking;
}

// A random pass draws between its bounds: the lower one first.
void OrderBounds(TPass& pass) {
    if (pass.RandomBytesValue1 > pass.RandomBytesValue2)
        std::swap(pass.RandomBytesValue1, pass.RandomBytesValue2);
    if (pass.RandomCharacterValue1 > pass.RandomCharacterValue2)
        std::swap(pass.RandomCharacterValue1, pass.RandomCharacterValue2);
}

} // namespace

TfEditMethod::TfEditMethod(TComponent* owner) : TForm(owner) {
    SetName("fEditMethod");
    SetBorderStyle(bsDialog);
    SetBorderIcons(biSystemMenu);
    SetPosition(poOwnerFormCenter);
    constexpr int ClientWidth = 548;
    SetLayoutClientSize(this, ClientWidth, 400);
    using namespace Layout;
    // Rows of a caption over its field: the full-width name and description, then the
    // passes with their buttons beside them and the pass group; the form's buttons below.
    constexpr int Width = ClientWidth - 2 * Margin, LabelWidth = 200, FormButtonWidth = 80;
    constexpr TBounds nameRow{Margin, Margin, Width, LabelHeight};
    constexpr TBounds name = nameRow.Below(CaptionGap, EditHeight);
    constexpr TBounds descriptionRow = name.Below(9, LabelHeight);
    constexpr TBounds description = descriptionRow.Below(CaptionGap, 64);
    constexpr TBounds passesRow = description.Below(10, LabelHeight);
    constexpr TBounds passes = passesRow.Below(CaptionGap, 186).WithWidth(144);
    constexpr TGrid passButtons =
        Down(passes.Right() + Margin, passes.Top, 60, ButtonHeight, StackGap);
    constexpr int groupLeft = passButtons.Cell(0, 0).Right() + Margin;
    constexpr TBounds passGroup{groupLeft, passesRow.Top, nameRow.Right() - groupLeft, 208};
    constexpr TGrid buttons =
        ButtonsEndingAt(nameRow.Right(), passGroup.Bottom() + Margin, 2, FormButtonWidth, Margin);
    btnOK = Place<TButton>(this, this, "btnOK", "&OK", buttons.Cell(0, 0));
    btnOK->SetDefault(true);
    btnCancel = Place<TButton>(this, this, "btnCancel", "&Cancel", buttons.Cell(1, 0));
    btnCancel->SetCancel(true);
    btnCancel->SetModalResult(mrCancel);
    lblPasses = Place<TLabel>(this, this, "lblPasses", "Passes:", passesRow.WithWidth(100));
    btnAddPass = Place<TBitBtn>(this, this, "btnAddPass", "Add", passButtons.Cell(0, 0));
    btnEditPass = Place<TBitBtn>(this, this, "btnEditPass", "Edit", passButtons.Cell(0, 1));
    btnDeletePass = Place<TBitBtn>(this, this, "btnDeletePass", "Delete", passButtons.Cell(0, 2));
    BuildPassGroup(passGroup);
    lblMethodName =
        Place<TLabel>(this, this, "lblMethodName", "Method Name:", nameRow.WithWidth(LabelWidth));
    txtMethodName = Place<TEdit>(this, this, "txtMethodName", "", name);
    txtMethodDescription = Place<TMemo>(this, this, "txtMethodDescription", "", description);
    txtMethodDescription->SetScrollBars(ssVertical);
    lblMethodDescription =
        Place<TLabel>(this, this, "lblMethodDescription",
                      "Method Description:", descriptionRow.WithWidth(LabelWidth));
    lvPasses = Place<TListView>(this, this, "lvPasses", "", passes);
    lvPasses->SetShowColumnHeaders(false);
    lvPasses->SetRowSelect(true);
    lvPasses->AddColumn("", 120);
    BindPassControls();
    grpPass->SetEnabled(false);
    // Not on every activation: the input box and the question activate it again.
    OnShow = [this](TObject*) { FillPasses(); };
    OnActivate = [this](TObject*) {
        if (std::exchange(FFocusPasses, false) && lvPasses->Count() > 0) lvPasses->SetFocus();
    };
}

// "Check Wipe" over the wipe-with group. In it, a radio button for each kind: the byte
// pattern's spin edit beside its radio, the text pattern's memo below its radio, and
// the random rows of a radio, a spin edit, "AND" and another spin edit.
void TfEditMethod::BuildPassGroup(const TBounds& bounds) {
    using namespace Layout;
    constexpr int RadioWidth = 124, RadioHeight = 19, AndWidth = 28, ColumnGap = 4;
    constexpr int SpinLeft = Margin + RadioWidth + ColumnGap;
    constexpr int AndLeft = SpinLeft + SpinWidth + ColumnGap;
    constexpr int SecondSpinLeft = AndLeft + AndWidth + ColumnGap;
    constexpr int RadioDrop = 2; // a radio stands this far below the edit beside it
    constexpr TTrack patternRows{18, EditHeight, 3}; // the byte pattern, then the text pattern
    auto radio = [](int top) { return TBounds{Margin, top, RadioWidth, RadioHeight}; };
    const TBounds check = radio(patternRows.At(0) + RadioDrop).WithWidth(120);
    const TBounds wipeWith =
        FromEdges(Margin, check.Bottom() + StackGap, bounds.Width - Margin, bounds.Height - Margin);
    const TBounds textPattern =
        radio(patternRows.At(1)).Below(1, 38).WithWidth(wipeWith.Width - 2 * Margin);
    const TTrack randomRows{textPattern.Bottom() + 4, EditHeight, 3};
    auto andLabel = [&](int row) {
        return TBounds{AndLeft, randomRows.At(row) + LabelDrop, AndWidth, LabelHeight};
    };
    grpPass = Place<TGroupBox>(this, this, "grpPass", " Pass ", bounds);
    grpWipeWith = Place<TGroupBox>(this, grpPass, "grpWipeWith", " Wipe Width ", wipeWith);
    lblAND1 = Place<TLabel>(this, grpWipeWith, "lblAND1", "AND", andLabel(0));
    lblAND2 = Place<TLabel>(this, grpWipeWith, "lblAND2", "AND", andLabel(1));
    txtBytePattern = PlaceSpin(this, grpWipeWith, "txtBytePattern", SpinLeft, patternRows.At(0));
    txtBytePattern->SetMinValue(0);
    txtBytePattern->SetMaxValue(255);
    txtTextPattern = Place<TMemo>(this, grpWipeWith, "txtTextPattern", "", textPattern);
    txtTextPattern->Font().SetName("Courier New");
    txtTextPattern->Font().SetStyle(fsBold);
    radBytePattern = Place<TRadioButton>(this, grpWipeWith, "radBytePattern", "Byte Pattern",
                                         radio(patternRows.At(0) + RadioDrop));
    radTextPattern = Place<TRadioButton>(this, grpWipeWith, "radTextPattern", "Text Pattern",
                                         radio(patternRows.At(1)));
    radRandomBytes = Place<TRadioButton>(this, grpWipeWith, "radRandomBytes", "Random Bytes",
                                         radio(randomRows.At(0) + RadioDrop));
    txtRandomBytes1 = PlaceSpin(this, grpWipeWith, "txtRandomBytes1", SpinLeft, randomRows.At(0));
    txtRandomBytes2 =
        PlaceSpin(this, grpWipeWith, "txtRandomBytes2", SecondSpinLeft, randomRows.At(0));
    radRandomCharacter =
        Place<TRadioButton>(this, grpWipeWith, "radRandomCharacter", "Random Character",
                            radio(randomRows.At(1) + RadioDrop));
    txtRandomCharacter1 =
        PlaceSpin(this, grpWipeWith, "txtRandomCharacter1", SpinLeft, randomRows.At(1));
    txtRandomCharacter2 =
        PlaceSpin(this, grpWipeWith, "txtRandomCharacter2", SecondSpinLeft, randomRows.At(1));
    chkCheckWipe = Place<TCheckBox>(this, grpPass, "chkCheckWipe", "&Check Wipe", check);
}

void TfEditMethod::BindPassControls() {
    auto write = [this](auto apply) {
        return [this, apply](TObject*) {
            if (CurrentPass && !FShowing) apply(*CurrentPass);
        };
    };
    chkCheckWipe->OnClick = write([this](TPass& p) { p.CheckWipe = chkCheckWipe->Checked(); });
    const std::pair<TRadioButton*, uint8_t> kinds[] = {{radBytePattern, wwBytePattern},
                                                       {radTextPattern, wwTextPattern},
                                                       {radRandomBytes, wwRandomBytes},
                                                       {radRandomCharacter, wwRandomCharacter}};
    for (auto [radio, kind] : kinds)
        radio->OnClick = write([radio, kind](TPass& p) {
            if (radio->Checked()) p.WipeWith = kind;
        });
    const std::pair<TSpinEdit*, uint8_t TPass::*> values[] = {
        {txtBytePattern, &TPass::BytePatternValue},
        {txtRandomBytes1, &TPass::RandomBytesValue1},
        {txtRandomBytes2, &TPass::RandomBytesValue2},
        {txtRandomCharacter1, &TPass::RandomCharacterValue1},
        {txtRandomCharacter2, &TPass::RandomCharacterValue2}};
    for (auto [spin, field] : values)
        spin->OnChange = write([spin, field](TPass& p) {
            p.*field = static_cast<uint8_t>(spin->Value()); // the low 8 bits
        });
    // Text the method file cannot hold is refused as it is typed: the control shows
    // what it held before.
    txtTextPattern->OnChange = write([this](TPass& p) {
        if (Refused(txtTextPattern->Lines().Text(), "text pattern"))
            return txtTextPattern->Lines().SetText(p.TextPatternValue);
        p.TextPatternValue = txtTextPattern->Lines().Text();
    });
    txtMethodName->OnChange = [this](TObject*) {
        if (Refused(txtMethodName->Text(), "method name"))
            return txtMethodName->SetText(Method.Name);
        Method.Name = txtMethodName->Text();
    };
    txtMethodDescription->OnChange = [this](TObject*) {
        if (Refused(txtMethodDescription->Lines().Text(), "method description"))
            return txtMethodDescription->Lines().SetText(Method.Description);
        Method.Description = txtMethodDescription->Lines().Text();
    };
    lvPasses->OnSelectItem = [this](TObject*, TListItem*, bool) { lvPassesClick(); };
    btnAddPass->OnClick = [this](TObject*) { btnAddPassClick(); };
    btnEditPass->OnClick = [this](TObject*) { btnEditPassClick(); };
    btnDeletePass->OnClick = [this](TObject*) { btnDeletePassClick(); };
    btnOK->OnClick = [this](TObject*) { btnOKClick(); };
}

void TfEditMethod::SetMethod(const TWipeMethod& method) {
    Method.Assign(method);
}

void TfEditMethod::GetMethod(TWipeMethod& method) const {
    method.Assign(Method);
}

void TfEditMethod::FillPasses() {
    CurrentPass = nullptr;
    txtMethodName->SetText(Method.Name);
    txtMethodDescription->Lines().SetText(Method.Description);
    lvPasses->Clear();
    for (int i = 0; i < Method.PassCount(); ++i) {
        TListItem* row = lvPasses->AddItem();
        row->SetCaption(Method.GetPass(i).Name);
        row->Data = &Method.GetPass(i);
    }
    if (lvPasses->Count() > 0) {
        lvPasses->Items(0)->SetSelected(true);
        lvPasses->Items(0)->MakeFocused();
    }
    FFocusPasses = true;
    lvPassesClick();
}

TPass* TfEditMethod::SelectedPass() const {
    TListItem* row = lvPasses->Selected();
    return row ? static_cast<TPass*>(row->Data) : nullptr;
}

void TfEditMethod::lvPassesClick() {
    CurrentPass = SelectedPass();
    for (TControl* control : std::initializer_list<TControl*>{grpPass, btnEditPass, btnDeletePass})
        control->SetEnabled(CurrentPass != nullptr);
    if (CurrentPass) ShowPass(*CurrentPass);
}

void TfEditMethod::ShowPass(const TPass& pass) {
    FShowing = true;
    chkCheckWipe->SetChecked(pass.CheckWipe);
    TRadioButton* radios[] = {radBytePattern, radTextPattern, radRandomBytes, radRandomCharacter};
    if (pass.WipeWith < 4)
        radios[pass.WipeWith]->SetChecked(true);
    else
        for (TRadioButton* radio : radios)
            radio->SetChecked(false);
    txtBytePattern->SetValue(pass.BytePatternValue);
    txtTextPattern->Lines().SetText(pass.TextPatternValue);
    txtRandomBytes1->SetValue(pass.RandomBytesValue1);
    txtRandomBytes2->SetValue(pass.RandomBytesValue2);
    txtRandomCharacter1->SetValue(pass.RandomCharacterValue1);
    txtRandomCharacter2->SetValue(pass.RandomCharacterValue2);
    FShowing = false;
}

void TfEditMethod::btnAddPassClick() {
    auto pass = Method.AddPass();
    TPass* added = pass.get();
    Method.Append(std::move(pass));
    TListItem* row = lvPasses->AddItem();
    row->SetCaption(added->Name);
    row->Data = added;
}

// No row is kept across the input box: the pass's row is looked up again afterwards.
void TfEditMethod::btnEditPassClick() {
    TPass* pass = SelectedPass();
    if (!pass) return;
    std::string name = pass->Name;
    if (!InputQuery("Edit pass name", "Pass name", name) || Refused(name, "pass name")) return;
    pass->Name = name;
    if (TListItem* row = lvPasses->FindData(pass)) row->SetCaption(name);
}

// The deleted pass is no longer shown or written to.
void TfEditMethod::btnDeletePassClick() {
    TPass* pass = SelectedPass();
    if (!pass) return;
    if (!AskYesNo("Are you sure you want to delete pass \"" + pass->Name + "\"?")) return;
    CurrentPass = nullptr;
    if (TListItem* row = lvPasses->FindData(pass)) lvPasses->Delete(row->Index());
    Method.DeletePass(pass);
    lvPassesClick();
}

bool TfEditMethod::Refused(const std::string& text, const std::string& what) {
    const std::string lacking = OutsideCodePage(text);
    if (lacking.empty()) return false;
    ShowError("The " + what + " cannot hold \"" + lacking +
                  "\": method files keep their text in the system's code page, which lacks "
                  "these characters, so they would be saved as other ones.",
              Handle());
    return true;
}

void TfEditMethod::btnOKClick() {
    for (int i = 0; i < Method.PassCount(); ++i)
        OrderBounds(Method.GetPass(i));
    SetModalResult(mrOk);
}
