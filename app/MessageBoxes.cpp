#include "app/MessageBoxes.h"
#include "classlib/gui/Application.h"
#include "classlib/gui/Form.h"

bool AskYesNo(const std::string& text, HWND owner) {
    return AskYesNo(text, "  Tarnwhistle", owner);
}

bool AskYesNo(const std::string& text, const std::string& title, HWND owner) {
    return Application->MessageBox(text, title, MB_YESNO | MB_ICONQUESTION, owner) == IDYES;
}

bool AskBeforeDestroying(const std::string& text, HWND owner) {
    return AskBeforeDestroying(text, "  Tarnwhistle", owner);
}

bool AskBeforeDestroying(const std::string& text, const std::string& title, HWND owner) {
    return Application->MessageBox(text, title, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2,
                                   owner) == IDYES;
}

void ShowError(const std::string& text, HWND owner) {
    Application->MessageBox(text, Application->Title(), MB_OK | MB_ICONERROR, owner);
}

void ShowInformation(const std::string& text, HWND owner) {
    Application->MessageBox(text, Application->Title(), MB_OK | MB_ICONINFORMATION, owner);
}

void ShowNotice(const std::string& text, HWND owner) {
    Application->MessageBox(text, Application->Title(), MB_OK, owner);
}

HWND BoxOwner(TControl* asker) {
    TForm* form = asker ? GetParentForm(asker) : nullptr;
    return form && form->HandleAllocated() ? form->Handle() : nullptr;
}
