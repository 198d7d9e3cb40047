#pragma once

#include <hb.h>
#include <woff2/decode.h>

#include <cstdint>
#include <string>

#include "common/text_file.h"

namespace test_fonts {

constexpr const char* kLiberationSans =
    "/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf";

// A copy of Liberation Sans named "<name> Sans" (a name of ten letters), whose licence bits
// forbid embedding when asked.
inline bool WriteRenamedFont(const std::string& target, const std::string& name, bool restricted) {
    std::string font = ReadTextFile(kLiberationSans).value_or(std::string());
    if (font.size() < 12 || name.size() != 10) {
        return false;
    }
    const std::string from = std::string("\0L\0i\0b\0e\0r\0a\0t\0i\0o\0n", 20);
    std::string to;
    for (const char letter : name) {
        to += '\0';
        to += letter;
    }
    for (std::size_t at = font.find(from); at != std::string::npos; at = font.find(from, at)) {
        font.replace(at, to.size(), to);
    }
    const auto word = [&](std::size_t at) {
        return (static_cast<unsigned char>(font[at]) << 8) |
               static_cast<unsigned char>(font[at + 1]);
    };
    const auto longWord = [&](std::size_t at) {
        return (static_cast<std::uint32_t>(word(at)) << 16) | word(at + 2);
    };
    for (int table = 0; table < word(4); ++table) {
        const std::size_t record = 12 + 16 * static_cast<std::size_t>(table);
        if (restricted && font.compare(record, 4, "OS/2") == 0) {
            const std::size_t fsType = longWord(record + 8) + 8;
            font[fsType] = 0;
            font[fsType + 1] = 2;
        }
    }
    return WriteTextFile(target, font);
}

// A copy of Liberation Sans named "Restricted Sans" whose licence bits forbid embedding.
inline bool WriteRestrictedFont(const std::string& target) {
    return WriteRenamedFont(target, "Restricted", true);
}

// Whether the WOFF2 font has a glyph for the character.
inline bool HasGlyph(const std::string& woff2, char32_t character) {
    const auto* data = reinterpret_cast<const uint8_t*>(woff2.data());
    std::string ttf(woff2::ComputeWOFF2FinalSize(data, woff2.size()), '\0');
    if (!woff2::ConvertWOFF2ToTTF(reinterpret_cast<uint8_t*>(ttf.data()), ttf.size(), data,
                                  woff2.size())) {
        return false;
    }
    hb_blob_t* blob = hb_blob_create(ttf.data(), static_cast<unsigned>(ttf.size()),
                                     HB_MEMORY_MODE_READONLY, nullptr, nullptr);
    hb_face_t* face = hb_face_create(blob, 0);
    hb_font_t* font = hb_font_create(face);
    hb_codepoint_t glyph = 0;
    const bool found = hb_font_get_nominal_glyph(font, character, &glyph) != 0;
    hb_font_destroy(font);
    hb_face_destroy(face);
    hb_blob_destroy(blob);
    return found;
}

}  // namespace test_fonts
