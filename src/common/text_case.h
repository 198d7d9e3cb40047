#pragma once

#include <string>
#include <string_view>

// Comparisons that ignore the case of ASCII letters, as the user reads names.
std::string LowerCase(std::string text);
std::string UpperCase(std::string text);
bool EqualIgnoringCase(std::string_view a, std::string_view b);
bool StartsWithIgnoringCase(std::string_view text, std::string_view start);
// Alphabetical order ignoring case; case decides only between otherwise equal names.
bool AlphabeticallyBefore(std::string_view a, std::string_view b);
