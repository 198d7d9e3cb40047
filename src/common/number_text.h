#pragma once

#include <string_view>

// Numbers kept as text are read with the C rules: leading blanks, an optional sign, then as
// many digits as follow; no number gives 0. Never undefined on overflow.
int LeadingInt(std::string_view text);
double LeadingReal(std::string_view text);

// The digits the text starts with, nothing else.
std::string_view LeadingDigits(std::string_view text);
