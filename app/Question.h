#pragma once
// The program's Yes/No questions, titled "  Tarnwhistle" with the question icon.
#include <string>

// True on Yes.
bool AskYesNo(const std::string& text);
