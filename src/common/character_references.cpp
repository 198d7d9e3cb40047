#include "common/character_references.h"

#include "common/utf8.h"

std::string AsciiWithCharacterReferences(std::string_view utf8) {
    std::string result;
    result.reserve(utf8.size());
    for (const char32_t c : DecodeUtf8(utf8)) {
        if (c < 0x80) {
            result += static_cast<char>(c);
        } else {
            result += "&#" + std::to_string(static_cast<unsigned long>(c)) + ";";
        }
    }
    return result;
}
