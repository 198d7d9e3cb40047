#include "common/character_references.h"

namespace {

constexpr char32_t kReplacementCharacter = 0xFFFD;

// The length of the sequence a lead byte starts, with the smallest code point it may encode
// (longer forms of smaller code points are invalid); 0 for a byte that cannot lead.
struct SequenceShape {
    std::size_t length;
    char32_t smallest;
    char32_t leadBits;
};

SequenceShape ShapeOf(unsigned char lead) {
    if ((lead & 0xE0) == 0xC0) {
        return {2, 0x80, lead & 0x1Fu};
    }
    if ((lead & 0xF0) == 0xE0) {
        return {3, 0x800, lead & 0x0Fu};
    }
    if ((lead & 0xF8) == 0xF0) {
        return {4, 0x10000, lead & 0x07u};
    }
    return {0, 0, 0};
}

// Decodes the sequence at text[at]; the number of bytes taken (at least 1).
std::size_t DecodeAt(std::string_view text, std::size_t at, char32_t& codePoint) {
    const SequenceShape shape = ShapeOf(static_cast<unsigned char>(text[at]));
    codePoint = kReplacementCharacter;
    if (shape.length == 0 || at + shape.length > text.size()) {
        return 1;
    }
    char32_t value = shape.leadBits;
    for (std::size_t i = 1; i < shape.length; ++i) {
        const auto next = static_cast<unsigned char>(text[at + i]);
        if ((next & 0xC0) != 0x80) {
            return 1;
        }
        value = (value << 6) | (next & 0x3Fu);
    }
    const bool surrogate = value >= 0xD800 && value <= 0xDFFF;
    if (value < shape.smallest || value > 0x10FFFF || surrogate) {
        return 1;
    }
    codePoint = value;
    return shape.length;
}

}  // namespace

std::string AsciiWithCharacterReferences(std::string_view utf8) {
    std::string result;
    result.reserve(utf8.size());
    std::size_t at = 0;
    while (at < utf8.size()) {
        if (static_cast<unsigned char>(utf8[at]) < 0x80) {
            result += utf8[at++];
            continue;
        }
        char32_t codePoint = 0;
        at += DecodeAt(utf8, at, codePoint);
        result += "&#" + std::to_string(static_cast<unsigned long>(codePoint)) + ";";
    }
    return result;
}
