#pragma once

#include <string>
#include <string_view>

// The text with every character outside ASCII written as a numeric character reference
// (é as &#233;), so that a page without a declared character set shows it correctly. ASCII,
// markup included, passes unchanged; a byte that is not valid UTF-8 becomes &#65533;.
std::string AsciiWithCharacterReferences(std::string_view utf8);
