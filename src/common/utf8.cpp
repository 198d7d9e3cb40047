#include "common/utf8.h"

namespace {

constexpr char32_t kReplacement = 0xFFFD;

struct SequenceShape {
    std::size_t length;
    char32_t smallest;
    char32_t leadBits;
};

// The length of the sequence a lead byte starts and the smallest code point it may encode;
// length 0 for a byte that cannot lead.
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
    const auto lead = static_cast<unsigned char>(text[at]);
    if (lead < 0x80) {
        codePoint = lead;
        return 1;
    }
    const SequenceShape shape = ShapeOf(lead);
    codePoint = kReplacement;
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

std::u32string DecodeUtf8(std::string_view utf8) {
    std::u32string result;
    result.reserve(utf8.size());
    for (std::size_t at = 0; at < utf8.size();) {
        char32_t codePoint = 0;
        at += DecodeAt(utf8, at, codePoint);
        result += codePoint;
    }
    return result;
}

std::string EncodeUtf8(std::u32string_view text) {
    std::string result;
    result.reserve(text.size());
    for (char32_t c : text) {
        if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
            c = kReplacement;
        }
        if (c < 0x80) {
            result += static_cast<char>(c);
        } else if (c < 0x800) {
            result += static_cast<char>(0xC0 | (c >> 6));
            result += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            result += static_cast<char>(0xE0 | (c >> 12));
            result += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            result += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            result += static_cast<char>(0xF0 | (c >> 18));
            result += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            result += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            result += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return result;
}
