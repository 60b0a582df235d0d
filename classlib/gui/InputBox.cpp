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
        SetClientWidth(300);
        SetClientHeight(96);
        Place<TLabel>(this, this, "Prompt", prompt, 10, 10, 280, 15);
        Edit = Place<TEdit>(this, this, "Edit", "", 10, 30, 280, 21);
        auto ok = Place<TButton>(this, this, "OKButton", "OK", 134, 62, 75, 25);
        ok->SetDefault(true);
        ok->SetModalResult(mrOk);
        auto cancel = Place<TButton>(this, this, "CancelButton", "Cancel", 215, 62, 75, 25);
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
