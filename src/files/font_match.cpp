#include "files/font_match.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <tuple>

#include "common/paths.h"
#include "common/text_case.h"
#include "common/text_file.h"
#include "common/text_search.h"
#include "files/font_file.h"

const char* const kOwnFontsFolder = "fonts";

namespace {

struct PatternFree {
    void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
using Pattern = std::unique_ptr<FcPattern, PatternFree>;

bool IsFontFileName(const std::filesystem::path& path) {
    const std::string extension = path.extension().string();
    return EqualIgnoringCase(extension, ".ttf") || EqualIgnoringCase(extension, ".otf") ||
           EqualIgnoringCase(extension, ".woff2");
}

// Faces matched before, while the fonts known stay the same: fontconfig's matching and listing
// take a millisecond or more each, and every page written asks again.
std::map<FontFace, std::optional<MatchedFont>>& Matched() {
    static std::map<FontFace, std::optional<MatchedFont>> matched;
    return matched;
}

// The user's own font files, made known to fontconfig once each, as the browser of the editor
// page knows them through the page's rules.
void KnowOwnFonts(const std::string& workingFolder) {
    static std::string knownFolder;
    static std::set<std::string> known;
    if (workingFolder != knownFolder) {
        // Another working folder's files are not this one's.
        if (!knownFolder.empty()) {
            FcConfigAppFontClear(nullptr);
            known.clear();
        }
        knownFolder = workingFolder;
        Matched().clear();
    }
    std::error_code error;
    const std::filesystem::path folder = JoinPath(workingFolder, kOwnFontsFolder);
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        const std::string path = entry.path().string();
        if (entry.is_regular_file(error) && IsFontFileName(entry.path()) &&
            known.insert(path).second) {
            FcConfigAppFontAddFile(nullptr, reinterpret_cast<const FcChar8*>(path.c_str()));
            Matched().clear();
        }
    }
}

// The family names fontconfig puts in the face's place as the same face (binding "same" or
// strong), the asked family first; the weak ones are mere fallbacks a browser refuses.
std::vector<std::string> SameFamilies(FcPattern* pattern) {
    std::vector<std::string> families;
    FcPatternIter iter;
    if (!FcPatternFindIter(pattern, &iter, FC_FAMILY)) {
        return families;
    }
    const int count = FcPatternIterValueCount(pattern, &iter);
    for (int i = 0; i < count; ++i) {
        FcValue value;
        FcValueBinding binding = FcValueBindingWeak;
        if (FcPatternIterGetValue(pattern, &iter, i, &value, &binding) == FcResultMatch &&
            value.type == FcTypeString && binding != FcValueBindingWeak) {
            families.emplace_back(reinterpret_cast<const char*>(value.u.s));
        }
    }
    return families;
}

bool NamesOneOf(FcPattern* font, const std::vector<std::string>& families, std::string& found) {
    FcChar8* name = nullptr;
    for (int i = 0; FcPatternGetString(font, FC_FAMILY, i, &name) == FcResultMatch; ++i) {
        const std::string family = reinterpret_cast<const char*>(name);
        for (const std::string& wanted : families) {
            if (EqualIgnoringCase(family, wanted)) {
                found = family;
                return true;
            }
        }
    }
    return false;
}

bool IsLibraryFamily(const std::string& family) {
    for (const std::string& library : LibraryFamilies()) {
        if (EqualIgnoringCase(library, family)) {
            return true;
        }
    }
    return false;
}

}  // namespace

namespace {
std::optional<MatchedFont> MatchAnew(const FontFace& face, const std::string& workingFolder);
}  // namespace

bool FontFace::operator<(const FontFace& other) const {
    return std::tie(family, bold, italic) < std::tie(other.family, other.bold, other.italic);
}

std::optional<MatchedFont> MatchFont(const FontFace& face, const std::string& workingFolder) {
    if (face.family.empty() || !FcInit()) {
        return std::nullopt;
    }
    KnowOwnFonts(workingFolder);
    const auto known = Matched().find(face);
    if (known != Matched().end()) {
        return known->second;
    }
    return Matched()[face] = MatchAnew(face, workingFolder);
}

namespace {

std::optional<MatchedFont> MatchAnew(const FontFace& face, const std::string& workingFolder) {
    const Pattern pattern(FcPatternCreate());
    FcPatternAddString(pattern.get(), FC_FAMILY,
                       reinterpret_cast<const FcChar8*>(face.family.c_str()));
    FcPatternAddInteger(pattern.get(), FC_WEIGHT, face.bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern.get(), FC_SLANT, face.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern);
    const std::vector<std::string> same = SameFamilies(pattern.get());
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    const Pattern font(FcFontMatch(nullptr, pattern.get(), &result));
    MatchedFont matched;
    FcChar8* file = nullptr;
    if (!font || FcPatternGetString(font.get(), FC_FILE, 0, &file) != FcResultMatch ||
        !NamesOneOf(font.get(), same, matched.family)) {
        return std::nullopt;
    }
    matched.path = reinterpret_cast<const char*>(file);
    FcPatternGetInteger(font.get(), FC_INDEX, 0, &matched.index);
    // The match carries the weight and slant asked for where the browser would embolden or
    // slant a face itself: the file's own are in fontconfig's list of fonts.
    const Pattern listing(FcPatternCreate());
    FcPatternAddString(listing.get(), FC_FILE,
                       reinterpret_cast<const FcChar8*>(matched.path.c_str()));
    FcPatternAddInteger(listing.get(), FC_INDEX, matched.index);
    const std::unique_ptr<FcObjectSet, void (*)(FcObjectSet*)> wanted(
        FcObjectSetBuild(FC_WEIGHT, FC_SLANT, nullptr), FcObjectSetDestroy);
    const std::unique_ptr<FcFontSet, void (*)(FcFontSet*)> listed(
        FcFontList(nullptr, listing.get(), wanted.get()), FcFontSetDestroy);
    if (!listed || listed->nfont < 1) {
        return std::nullopt;
    }
    int weight = FC_WEIGHT_REGULAR;
    int slant = FC_SLANT_ROMAN;
    FcPatternGetInteger(listed->fonts[0], FC_WEIGHT, 0, &weight);
    FcPatternGetInteger(listed->fonts[0], FC_SLANT, 0, &slant);
    matched.bold = weight >= FC_WEIGHT_DEMIBOLD;
    matched.italic = slant != FC_SLANT_ROMAN;
    const std::string own = JoinPath(workingFolder, kOwnFontsFolder) + kPathSeparator;
    matched.travels = IsLibraryFamily(matched.family) || StartsWith(matched.path, own);
    return matched;
}

}  // namespace

const std::vector<std::string>& LibraryFamilies() {
    static const std::vector<std::string> families = {"Liberation Sans",
                                                      "Liberation Serif",
                                                      "Liberation Mono",
                                                      "Open Sans",
                                                      "Lato",
                                                      "Roboto",
                                                      "Inter",
                                                      "EB Garamond",
                                                      "Cantarell",
                                                      "Fira Code",
                                                      "Quicksand",
                                                      "Manrope",
                                                      "Comic Neue",
                                                      "DejaVu Sans",
                                                      "DejaVu Serif"};
    return families;
}

bool IsOwnFontName(const std::string& name) {
    return IsFontFileName(std::filesystem::path(name));
}

std::vector<std::string> OwnFamilies(const std::string& workingFolder) {
    std::vector<std::string> families;
    std::error_code error;
    const std::filesystem::path folder = JoinPath(workingFolder, kOwnFontsFolder);
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        if (!entry.is_regular_file(error) || !IsFontFileName(entry.path())) {
            continue;
        }
        const std::string family =
            FamilyNameOf(ReadTextFile(entry.path().string()).value_or(std::string()));
        if (!family.empty() &&
            std::find(families.begin(), families.end(), family) == families.end()) {
            families.push_back(family);
        }
    }
    std::sort(families.begin(), families.end());
    return families;
}

AddedFont AddOwnFont(const std::string& workingFolder, const std::string& chosenFile) {
    AddedFont added;
    const std::filesystem::path chosen(chosenFile);
    const std::string shown = chosen.filename().string();
    std::optional<std::string> bytes = ReadTextFile(chosenFile);
    std::string extension = LowerCase(chosen.extension().string());
    if (bytes && extension == ".woff2") {
        bytes = FromWoff2(*bytes);
        extension = ".ttf";
    }
    const FontLicence licence = bytes ? LicenceOf(*bytes) : FontLicence::Unreadable;
    if (!IsFontFileName(chosen) || licence == FontLicence::Unreadable) {
        added.refusal = shown + " is not a font file Quillora can read (TTF, OTF or WOFF2).";
        return added;
    }
    if (licence == FontLicence::Restricted) {
        added.refusal = "The licence of " + shown +
                        " forbids putting it in a web page, so it cannot travel with a site.";
        return added;
    }
    added.family = FamilyNameOf(*bytes);
    const std::string folder = JoinPath(workingFolder, kOwnFontsFolder);
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    // Another font of the same name stays; the same font is not kept twice.
    const std::string stem = chosen.stem().string();
    for (int number = 1;; ++number) {
        const std::string name =
            stem + (number == 1 ? "" : "-" + std::to_string(number)) + extension;
        const std::string path = JoinPath(folder, name);
        const std::optional<std::string> there = ReadTextFile(path);
        if (there && *there == *bytes) {
            added.path = path;
            return added;
        }
        if (!std::filesystem::exists(path, error)) {
            if (!WriteTextFile(path, *bytes)) {
                added.refusal = "The font could not be kept in " + folder + ".";
                added.family.clear();
                return added;
            }
            added.path = path;
            return added;
        }
    }
}
