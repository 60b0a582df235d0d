#pragma once
// Value forms of the XML settings files: Booleans are written "True" or "False" and
// read back from those texts in any letter case or from a number (0 false).
#include <string>

[[nodiscard]] std::string BoolToXML(bool value);
// EConvertError for any other text (an empty one too).
[[nodiscard]] bool XMLToBool(const std::string& text);
