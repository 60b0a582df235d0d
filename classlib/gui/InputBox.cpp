#include "classlib/gui/InputBox.h"
#include "classlib/gui/Application.h"
#include "classlib/gui/Button.h"
#include "classlib/gui/Edit.h"
#include "classlib/gui/Form.h"
#include "classlib/gui/Label.h"
#include "classlib/gui/PlaceControl.h"
#include <memory>

bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value) {
    auto form = std::make_unique<TForm>(Application);
    form->SetName("InputBox");
    form->SetCaption(caption);
    form->SetBorderStyle(bsDialog);
    form->SetBorderIcons(biSystemMenu);
    form->SetPosition(poMainFormCenter);
    form->SetClientWidth(300);
    form->SetClientHeight(96);
    Place<TLabel>(form.get(), form.get(), "Prompt", prompt, 10, 10, 280, 15);
    auto edit = Place<TEdit>(form.get(), form.get(), "Value", "", 10, 30, 280, 21);
    edit->SetText(value);
    auto ok = Place<TButton>(form.get(), form.get(), "OKButton", "OK", 134, 62, 75, 25);
    ok->SetDefault(true);
    ok->SetModalResult(mrOk);
    auto cancel = Place<TButton>(form.get(), form.get(), "CancelButton", "Cancel", 215, 62, 75, 25);
    cancel->SetCancel(true);
    cancel->SetModalResult(mrCancel);
    // The start text is selected, so typing replaces it.
    form->OnShow = [&](TObject*) {
        edit->SetFocus();
        edit->SelectAll();
    };
    if (form->ShowModal() != mrOk) return false;
    value = edit->Text();
    return true;
}
