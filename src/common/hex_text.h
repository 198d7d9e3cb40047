#pragma once

#include <cstddef>
#include <string>

// Bytes as hexadecimal text, two digits a byte, high digit first: lower case unless asked.
void AppendHexByte(std::string& text, unsigned char byte, bool upperCase = false);
std::string HexText(const unsigned char* bytes, std::size_t size, bool upperCase = false);

// A hexadecimal digit's value, either case; -1 for any other character.
int HexDigitValue(char c);
