#include "engine/XMLValues.h"
#include "classlib/base/Exceptions.h"
#include "classlib/base/SysUtils.h"

std::string BoolToXML(bool value) {
    return value ? "True" : "False";
}

bool XMLToBool(const std::string& text) {
    if (SameText(text, "True")) return true;
    if (SameText(text, "False")) return false;
    int number = 0;
    if (TryStrToInt(text, number)) return number != 0;
    throw EConvertError("'" + text + "' is not a valid boolean value");
}
