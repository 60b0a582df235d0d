#pragma once
// Colour texts of the skin's ini: up to three decimal numbers (red, green, blue)
// separated by anything that is not a digit, "174 174 174" or "168, 168, 168".
#include "classlib/gui/Graphics.h"
#include <string>

// A number ended by a separator fills the next channel; one that runs to the end of
// the text counts only as the third. Numbers after the third are ignored, missing
// channels are 0, each channel is taken modulo 256. An empty text gives def.
TColor SkinColorFromText(const std::string& text, TColor def);
