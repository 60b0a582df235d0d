#include "app/Question.h"
#include "classlib/gui/Application.h"

bool AskYesNo(const std::string& text) {
    return Application->MessageBox(text, "  Tarnwhistle", MB_YESNO | MB_ICONQUESTION) == IDYES;
}
