#pragma once

#include <chrono>
#include <optional>
#include <set>
#include <string>
#include <string_view>

// What a font file's own licence bits (OS/2 fsType) allow a page to do with it.
enum class FontLicence {
    // Installable or editable or previewable: it may travel inside a site.
    Embeddable,
    // "Restricted licence embedding", or bitmaps only: it must stay on this computer.
    Restricted,
    // Not a font this program can read.
    Unreadable,
};
FontLicence LicenceOf(std::string_view fontBytes, unsigned index = 0);
// The same of a font file, read only as far as its licence bits.
FontLicence LicenceOfFile(const std::string& path, unsigned index = 0);

// A WOFF2 file's font as TrueType or OpenType; nothing when it is no WOFF2.
std::optional<std::string> FromWoff2(const std::string& woff2);

// The family the file names itself (its typographic family, else its family); empty when the
// file is no font.
std::string FamilyNameOf(const std::string& fontBytes, unsigned index = 0);

// How long the last subsets took, for the bench.
struct FontWork {
    std::chrono::microseconds subsetting{0};
    std::chrono::microseconds encoding{0};
};

// The font cut down to the characters given, hinting left out (the browser's own rendering
// does not use it), compressed as WOFF2; nothing when the file cannot be read or cut. The work
// done is added to the counters when given.
std::optional<std::string> SubsetAsWoff2(const std::string& fontBytes, unsigned index,
                                         const std::set<char32_t>& characters,
                                         FontWork* work = nullptr);
