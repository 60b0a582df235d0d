#include "classlib/gui/InputBox.h"
#include "classlib/gui/Application.h"
#include "classlib/gui/Button.h"
#include "classlib/gui/Edit.h"
#include "classlib/gui/Form.h"
#include "classlib/gui/Label.h"
#include "classlib/gui/PlaceControl.h"

namespace {

// Its own class, so that its window is told from other forms.
class TInputBoxForm : public TForm {
public:
    TInputBoxForm(const std::string& caption, const std::string& prompt) : TForm(Application) {
        SetName("InputBox");
        SetCaption(caption);
        SetBorderStyle(bsDialog);
        SetBorderIcons(biSystemMenu);
        SetPosition(poMainFormCenter);
        SetLayoutClientSize(this, 300, 96);
        using namespace Layout;
        const TBounds label{10, 10, 280, LabelHeight}, edit = label.Below(5, EditHeight);
        const TGrid buttons = ButtonsEndingAt(edit.Right(), edit.Bottom() + 11, 2, ButtonWidth);
        Place<TLabel>(this, this, "Prompt", prompt, label);
        Edit = Place<TEdit>(this, this, "Edit", "", edit);
        auto ok = Place<TButton>(this, this, "OKButton", "OK", buttons.Cell(0, 0));
        ok->SetDefault(true);
        ok->SetModalResult(mrOk);
        auto cancel = Place<TButton>(this, this, "CancelButton", "Cancel", buttons.Cell(1, 0));
        cancel->SetCancel(true);
        cancel->SetModalResult(mrCancel);
        // The start text is selected, so typing replaces it.
        OnShow = [this](TObject*) {
            Edit->SetFocus();
            Edit->SelectAll();
        };
    }
    TEdit* Edit;
};

} // namespace

bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value) {
    TInputBoxForm box(caption, prompt);
    box.Edit->SetText(value);
    if (box.ShowModal() != mrOk) return false;
    value = box.Edit->Text();
    return true;
}
