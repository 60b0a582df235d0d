#include "classlib/gui/InputBox.h"
#include "classlib/gui/Button.h"
#include "classlib/gui/Edit.h"
#include "classlib/gui/Form.h"
#include "classlib/gui/Label.h"
#include "classlib/gui/PlaceControl.h"

namespace {

class TInputBoxForm : public TForm {
public:
    TInputBoxForm(const std::string& caption, const std::string& prompt) : TForm(nullptr) {
        SetName("InputBox");
        SetCaption(caption);
        SetBorderStyle(bsDialog);
        SetBorderIcons(biSystemMenu);
        SetPosition(poScreenCenter);
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
