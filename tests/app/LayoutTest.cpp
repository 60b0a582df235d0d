// Every page, tab and dialog of the program, built here in its skin: each control lies
// inside its parent's client area, and the captions of check boxes, radio buttons and
// labels and the column titles of lists fit on one line in their control's font.
#include "EveryDialog.h"
#include "app/MainForm.h"
#include "app/pages/JunkCleanerPage.h"
#include "app/pages/MainPage.h"
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

} // namespace
