// Every page, tab and dialog of the program, built here in its skin: each control lies
// inside its parent's client area, and the captions of check boxes, radio buttons and
// labels and the column titles of lists fit on one line in their control's font; the
// method editor and the memory panel keep every control's bounds.
#include "EveryDialog.h"
#include "app/MainForm.h"
#include "app/pages/JunkCleanerPage.h"
#include "app/pages/MainPage.h"
#include "app/pages/MemoryPanel.h"
#include "classlib/base/DateUtils.h"
#include "classlib/base/SysUtils.h"
#include "classlib/gui/Application.h"
#include "classlib/gui/Button.h"
#include "classlib/gui/CheckBox.h"
#include "classlib/gui/Label.h"
#include "classlib/gui/ListView.h"
#include <commctrl.h>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace {

// A check box's or radio button's caption starts this far right of its left edge.
constexpr int GlyphSpace = 18;

// The size text takes on one line in the font ("&" marks an underlined letter).
SIZE OneLine(HFONT font, const std::string& text) {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    RECT r{0, 0, 0, 0};
    const std::wstring wide = ToWide(text);
    DrawTextW(dc, wide.c_str(), -1, &r, DT_CALCRECT | DT_SINGLELINE);
    SelectObject(dc, old);
    DeleteDC(dc);
    return {r.right, r.bottom};
}

bool Inside(const RECT& inner, const RECT& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

class TLayoutCheck {
public:
    // The parent's children, the sheets of its page controls one after another
    // (each shown, so pages made on first show are checked too).
    void Tree(TWinControl* parent, const std::string& path) {
        Application->ProcessMessages();
        const RECT client = parent->ClientRect();
        for (int i = 0; i < parent->ControlCount(); ++i) {
            TControl* control = parent->Controls(i);
            if (dynamic_cast<TTabSheet*>(control) || !control->Visible()) continue;
            const std::string name = path + "." + control->Name();
            const RECT bounds = control->BoundsRect();
            EXPECT_TRUE(Inside(bounds, client))
                << name << " (" << bounds.left << "," << bounds.top << "," << bounds.right << ","
                << bounds.bottom << ") runs past its parent's client area (" << client.right << "x"
                << client.bottom << ")";
            Caption(control, name);
            if (auto* list = dynamic_cast<TListView*>(control)) Columns(list, name);
            if (auto* pages = dynamic_cast<TPageControl*>(control)) {
                bool tabs = false; // a control without tabs shows its sheets whole
                for (int p = 0; p < pages->PageCount(); ++p)
                    tabs = tabs || pages->Pages(p)->TabVisible();
                for (int p = 0; p < pages->PageCount(); ++p) {
                    TTabSheet* sheet = pages->Pages(p);
                    const bool tab = sheet->TabVisible();
                    sheet->SetTabVisible(tabs);
                    pages->SetActivePage(sheet);
                    Tree(sheet, name + "." + sheet->Name());
                    sheet->SetTabVisible(tab);
                }
            } else if (auto* container = dynamic_cast<TWinControl*>(control)) {
                Tree(container, name);
            }
        }
    }

    // The widest date-time text a list shows fits its column.
    static void DateTimeFits(TListView* list, int column) {
        const std::string text =
            DateTimeToStr(EncodeDate(2026, 12, 28) + EncodeTime(23, 58, 58, 0));
        const int width = OneLine(list->Font().Handle(), text).cx + 12;
        EXPECT_LE(width, ListView_GetColumnWidth(list->Handle(), column)) << text;
    }

private:
    static void Caption(TControl* control, const std::string& name) {
        const bool glyph =
            dynamic_cast<TCustomCheckBox*>(control) || dynamic_cast<TRadioButton*>(control);
        const bool button = dynamic_cast<TButton*>(control);
        auto* label = dynamic_cast<TLabel*>(control);
        if (!glyph && !button && !(label && !label->WordWrap())) return;
        // A button's caption may end in blanks; it is drawn 2 pixels in from each side.
        const SIZE text = OneLine(control->Font().Handle(),
                                  button ? TrimRight(control->Caption()) : control->Caption());
        const int room = control->Width() - (glyph ? GlyphSpace : button ? 4 : 0);
        EXPECT_LE(text.cx, room) << name << " \"" << control->Caption() << "\" is cut";
        EXPECT_LE(text.cy, control->Height()) << name << " \"" << control->Caption() << "\"";
    }

    static void Columns(TListView* list, const std::string& name) {
        HWND header = ListView_GetHeader(list->Handle());
        if (!header || !list->ShowColumnHeaders()) return;
        for (int i = 0; i < Header_GetItemCount(header); ++i) {
            wchar_t text[128] = {};
            HDITEMW item{};
            item.mask = HDI_TEXT;
            item.pszText = text;
            item.cchTextMax = 128;
            Header_GetItem(header, i, &item);
            const std::string caption = ToUtf8(text);
            const int width = OneLine(list->Font().Handle(), caption).cx + 12;
            EXPECT_LE(width, ListView_GetColumnWidth(list->Handle(), i))
                << name << " column \"" << caption << "\" is cut";
        }
    }
};

TEST(Layout, EveryPageAndDialogKeepsItsControlsInsideAndItsCaptionsWhole) {
    auto main = std::make_unique<TfMain>(nullptr);
    main->Show();
    TLayoutCheck check;
    check.Tree(main.get(), main->Name());
    main->pagMain->SetActivePage(main->Sheet("Junk_TabSheet"));
    check.DateTimeFits(main->Page<TTJunkCleaner>()->TTDuplicateFinder1->FilesList, 2);

    TEveryDialog dialogs;
    for (const TEveryDialog::TMake& make : dialogs.Makers()) {
        std::unique_ptr<TForm> dialog = make();
        dialog->Show();
        check.Tree(dialog.get(), dialog->ClassName());
    }
}

// The buttons that show a sheet of "Misc" show theirs whichever was shown before.
TEST(Layout, MiscSheetsShowTheirPageWhateverCameBefore) {
    auto main = std::make_unique<TfMain>(nullptr);
    main->Show();
    const std::pair<TButton*, TTabSheet*> buttons[] = {
        {main->NavigationButton("mainPCManager"), main->Sheet("tabStartupManager")},
        {main->Page<TMainPage>()->runoptions, main->Sheet("tabOptions")},
        {main->NavigationButton("mainMiscButton"), main->Sheet("TabSheet12")},
    };
    for (auto [before, beforeSheet] : buttons)
        for (auto [button, sheet] : buttons) {
            before->Click();
            button->Click();
            EXPECT_EQ(main->pagMisc->ActivePage(), sheet)
                << before->Name() << " then " << button->Name();
            EXPECT_TRUE(sheet->TabVisible()) << button->Name();
        }
}

// Every control the owner made, with its bounds, as "name left top width height".
std::vector<std::string> Places(TComponent& owner) {
    std::vector<std::string> places;
    for (int i = 0; i < owner.ComponentCount(); ++i) {
        auto control = dynamic_cast<TControl*>(owner.Components(i));
        if (!control || dynamic_cast<TTabSheet*>(control)) continue; // sheets fill their pages
        places.push_back(control->Name() + " " + IntToStr(control->Left()) + " " +
                         IntToStr(control->Top()) + " " + IntToStr(control->Width()) + " " +
                         IntToStr(control->Height()));
    }
    return places;
}

// The method editor and the memory panel keep every control where it has always been.
TEST(Layout, TheMethodEditorAndTheMemoryPanelKeepTheirControlsInPlace) {
    TfEditMethod editor(nullptr);
    EXPECT_EQ(editor.ClientWidth(), 548);
    EXPECT_EQ(editor.ClientHeight(), 400);
    EXPECT_EQ(Places(editor), (std::vector<std::string>{
                                  "btnOK 372 364 80 25",
                                  "btnCancel 460 364 80 25",
                                  "lblPasses 8 148 100 15",
                                  "btnAddPass 160 166 60 25",
                                  "btnEditPass 160 196 60 25",
                                  "btnDeletePass 160 226 60 25",
                                  "grpPass 228 148 312 208",
                                  "grpWipeWith 8 44 296 156",
                                  "lblAND1 188 108 28 15",
                                  "lblAND2 188 132 28 15",
                                  "txtBytePattern 136 18 48 21",
                                  "txtTextPattern 8 62 280 38",
                                  "radBytePattern 8 20 124 19",
                                  "radTextPattern 8 42 124 19",
                                  "radRandomBytes 8 106 124 19",
                                  "txtRandomBytes1 136 104 48 21",
                                  "txtRandomBytes2 220 104 48 21",
                                  "radRandomCharacter 8 130 124 19",
                                  "txtRandomCharacter1 136 128 48 21",
                                  "txtRandomCharacter2 220 128 48 21",
                                  "chkCheckWipe 8 20 120 19",
                                  "lblMethodName 8 8 200 15",
                                  "txtMethodName 8 26 532 21",
                                  "txtMethodDescription 8 74 532 64",
                                  "lblMethodDescription 8 56 200 15",
                                  "lvPasses 8 166 144 186",
                              }));
    TMemoryPanel panel(nullptr);
    EXPECT_EQ(Places(panel), (std::vector<std::string>{
                                 "SpeedButtonOptimize 8 8 120 30",
                                 "grpMonitorUsage 8 46 290 150",
                                 "LabelCPU 10 24 40 15",
                                 "LabelMEM 10 64 40 15",
                                 "LabelMEMP 240 64 40 15",
                                 "LabelCPUP 240 24 40 15",
                                 "LabelFree 10 120 270 15",
                                 "ProgressBarCPU 54 22 180 18",
                                 "ProgressBarMEM 54 62 180 18",
                                 "grpOptimizing 8 204 290 60",
                                 "ProgressBarFree 10 26 270 18",
                                 "pagSettings 306 8 300 300",
                                 "grpSelectRAM 6 6 280 80",
                                 "LabelSlider 10 20 120 15",
                                 "TrackRAM 10 38 260 32",
                                 "grpAlarmLevel 6 92 280 80",
                                 "CheckBoxAutoOptimize 10 20 260 19",
                                 "SpinEditAlarmMB 10 46 80 21",
                                 "LabelMB 96 49 30 15",
                                 "grpMisc 6 178 280 80",
                                 "LabelRefresh 10 22 110 15",
                                 "SpinEditRefresh 124 18 60 21",
                                 "CheckBoxAutoRun 10 48 260 19",
                             }));
}

} // namespace
