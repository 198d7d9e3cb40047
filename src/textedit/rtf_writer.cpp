#include "textedit/rtf_writer.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "textedit/code_page.h"
#include "textedit/rich_text.h"

namespace {

struct Colour {
    unsigned char red;
    unsigned char green;
    unsigned char blue;
    bool operator==(const Colour& other) const {
        return red == other.red && green == other.green && blue == other.blue;
    }
};

Colour ColourOf(const CharFormat& format) {
    return {format.red, format.green, format.blue};
}

template <typename T>
std::size_t IndexOf(std::vector<T>& table, const T& value) {
    const auto found = std::find(table.begin(), table.end(), value);
    if (found != table.end()) {
        return static_cast<std::size_t>(found - table.begin());
    }
    table.push_back(value);
    return table.size() - 1;
}

std::string Hex(unsigned char byte) {
    char text[5];
    std::snprintf(text, sizeof text, "\\'%02x", byte);
    return text;
}

// \u takes a signed 16-bit number; characters beyond take two, as UTF-16 surrogates.
std::string UnicodeEscape(char32_t c) {
    const auto unit = [](unsigned value) {
        return "\\u" + std::to_string(static_cast<int>(static_cast<short>(value))) + "?";
    };
    if (c < 0x10000) {
        return unit(static_cast<unsigned>(c));
    }
    const unsigned rest = static_cast<unsigned>(c) - 0x10000;
    return unit(0xD800 + (rest >> 10)) + unit(0xDC00 + (rest & 0x3FF));
}

const char* AlignmentWord(Alignment alignment) {
    switch (alignment) {
        case Alignment::Right:
            return "\\qr";
        case Alignment::Centre:
            return "\\qc";
        case Alignment::Justify:
            return "\\qj";
        case Alignment::Left:
            break;
    }
    return "";
}

// The control words that change the running format into the next one.
std::string FormatChange(const CharFormat* from, const CharFormat& to, std::size_t font,
                         std::size_t colour, std::size_t fromFont, std::size_t fromColour) {
    std::string words;
    if (from == nullptr || colour != fromColour) {
        words += "\\cf" + std::to_string(colour);
    }
    if (from == nullptr ? to.underline : to.underline != from->underline) {
        words += to.underline ? "\\ul" : "\\ulnone";
    }
    if (from == nullptr ? to.bold : to.bold != from->bold) {
        words += to.bold ? "\\b" : "\\b0";
    }
    if (from == nullptr ? to.italic : to.italic != from->italic) {
        words += to.italic ? "\\i" : "\\i0";
    }
    if (from == nullptr || font != fromFont) {
        words += "\\f" + std::to_string(font);
    }
    if (from == nullptr || to.size != from->size) {
        words += "\\fs" + std::to_string(to.size * 2);
    }
    return words;
}

}  // namespace

std::string WriteRtf(const RichText& text) {
    std::vector<std::string> fonts;
    std::vector<Colour> colours;
    const std::size_t length = text.length();
    for (std::size_t i = 0; i < length; ++i) {
        const CharFormat& format = text.formatAt(i);
        IndexOf(fonts, format.face);
        IndexOf(colours, ColourOf(format));
    }
    const CharFormat start = text.format(0, length == 0 ? 0 : 1);
    IndexOf(fonts, start.face);
    IndexOf(colours, ColourOf(start));

    std::string rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl";
    for (std::size_t i = 0; i < fonts.size(); ++i) {
        rtf += "{\\f" + std::to_string(i) + "\\fnil\\fcharset0 " + fonts[i] + ";}";
    }
    rtf += "}\r\n{\\colortbl ;";
    for (const Colour& colour : colours) {
        rtf += "\\red" + std::to_string(colour.red) + "\\green" + std::to_string(colour.green) +
               "\\blue" + std::to_string(colour.blue) + ";";
    }
    rtf += "}\r\n\\viewkind4\\uc1\\pard";

    // Colour 0 is the table's empty "automatic" entry, so the colours start at 1.
    const auto fontOf = [&](const CharFormat& f) { return IndexOf(fonts, f.face); };
    const auto colourOf = [&](const CharFormat& f) { return IndexOf(colours, ColourOf(f)) + 1; };

    std::size_t paragraph = 0;
    Alignment alignment = text.alignment(0);
    rtf += AlignmentWord(alignment);
    CharFormat current = start;
    rtf += FormatChange(nullptr, current, fontOf(current), colourOf(current), 0, 0) + " ";
    for (std::size_t i = 0; i < length; ++i) {
        const char32_t c = text.at(i);
        // A paragraph mark has its own format too, as in the control.
        const CharFormat& format = text.formatAt(i);
        if (format != current) {
            rtf += FormatChange(&current, format, fontOf(format), colourOf(format), fontOf(current),
                                colourOf(current)) +
                   " ";
            current = format;
        }
        if (c == RichText::kParagraphBreak) {
            rtf += "\\par\r\n";
            ++paragraph;
            if (text.alignment(paragraph) != alignment) {
                alignment = text.alignment(paragraph);
                rtf += std::string("\\pard") + AlignmentWord(alignment) + " ";
            }
            continue;
        }
        if (c == U'\\' || c == U'{' || c == U'}') {
            rtf += '\\';
            rtf += static_cast<char>(c);
        } else if (c == U'\t') {
            rtf += "\\tab ";
        } else if (c >= 0x20 && c < 0x80) {
            rtf += static_cast<char>(c);
        } else if (const unsigned char byte = ByteOfCharacter(c); byte >= 0x80) {
            rtf += Hex(byte);
        } else if (c >= 0x80) {
            rtf += UnicodeEscape(c);
        }
    }
    return rtf + "\\par\r\n}\r\n";
}
