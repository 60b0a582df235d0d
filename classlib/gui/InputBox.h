#pragma once
// The class library's input box: a small modal form with a prompt, an edit and OK
// and Cancel, centred on the main form. Main thread only.
#include <string>

// Shows the box with value in the edit; on OK value takes the edited text and the
// result is true. Cancel or closing the box leaves value and returns false.
bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value);
