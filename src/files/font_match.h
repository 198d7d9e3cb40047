#pragma once

#include <optional>
#include <string>
#include <vector>

// A face as a section asks for it: a family, bold or not, italic or not.
struct FontFace {
    std::string family;
    bool bold = false;
    bool italic = false;

    bool operator<(const FontFace& other) const;
    bool operator==(const FontFace& other) const {
        return family == other.family && bold == other.bold && italic == other.italic;
    }
};

// The font file this computer shows for a face: the file, the face inside it, and whether the
// file itself is bold or italic (a family without a bold file is shown bold by the browser).
struct MatchedFont {
    std::string path;
    int index = 0;
    std::string family;
    bool bold = false;
    bool italic = false;
    // From the fonts that come with the program, or the user's own: it may travel.
    bool travels = false;
};

// The folder of the working folder that keeps the user's own font files.
extern const char* const kOwnFontsFolder;

// The file fontconfig gives the browser for the face: the family itself, or a face fontconfig
// puts in its place as the same (Liberation Sans for Arial); nothing when this computer has
// neither, and a browser would show its default face instead. The user's own font files in
// the working folder count too.
std::optional<MatchedFont> MatchFont(const FontFace& face, const std::string& workingFolder);

// The families of the fonts that come with the program (Debian's free font packages), in the
// order the text editor offers them; each travels with a site.
const std::vector<std::string>& LibraryFamilies();

// Whether a file name is one a font of the user's own may have (.ttf, .otf, .woff2).
bool IsOwnFontName(const std::string& name);

// The families of the user's own font files in the working folder.
std::vector<std::string> OwnFamilies(const std::string& workingFolder);

// A font file the user chose, kept among the working folder's own fonts (a WOFF2 file as the
// font it holds) under a name of its own, so that its faces travel with every site: its family,
// or why it was refused (not a font, or its licence forbids embedding).
struct AddedFont {
    std::string family;
    std::string refusal;
    // Where it was kept.
    std::string path;
};
AddedFont AddOwnFont(const std::string& workingFolder, const std::string& chosenFile);
