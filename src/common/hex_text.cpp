#include "common/hex_text.h"

void AppendHexByte(std::string& text, unsigned char byte, bool upperCase) {
    const char* digits = upperCase ? "0123456789ABCDEF" : "0123456789abcdef";
    text += digits[byte >> 4];
    text += digits[byte & 0x0F];
}

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
}

std::string HexText(const unsigned char* bytes, std::size_t size, bool upperCase) {
    std::string hex;
    hex.reserve(size * 2);
    for (std::size_t i = 0; i < size; ++i) {
        AppendHexByte(hex, bytes[i], upperCase);
    }
    return hex;
}
