#pragma once

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "files/font_file.h"
#include "files/font_match.h"
#include "page/page_record.h"

class PageStore;

// The characters each face of a site's sections shows.
using FaceCharacters = std::map<FontFace, std::set<char32_t>>;

// The faces of the page's sections (their font tags, bold and italic) and site menus, with the
// characters each shows, added to those given.
void AddPageFaces(const PageRecord& page, FaceCharacters& faces);
// Every stored page of the folder's, shared items and menus included.
FaceCharacters FolderFaces(PageStore& store, const std::string& folder);

// One font file a site's pages bring along: the family the pages name, the file's own weight
// and style, its name beside the pages (by its content) and its copy in the working folder.
struct TravellingFont {
    std::string family;
    bool bold = false;
    bool italic = false;
    std::string fileName;
    std::string cachedPath;
    // The name of the cached copy inside the working folder's cache folder.
    std::string cachedName;
    // The faces the sections ask for that this file shows.
    std::vector<FontFace> shows;
};

// What a site's faces come to: the files that travel, and the faces that cannot, by kind.
struct SiteFontSet {
    std::vector<TravellingFont> fonts;
    // Faces whose font forbids embedding: they stay on this computer.
    std::vector<std::string> restricted;
    // Faces of this computer's own fonts, which only the program's library and the user's own
    // added files leave.
    std::vector<std::string> localOnly;
    // Faces this computer does not have at all: every browser shows its own default face.
    std::vector<std::string> missing;
    FontWork work;
};

// The working folder's folder of prepared font files.
extern const char* const kFontCacheFolder;

// Prepares the subsets of a site's faces in the working folder's cache: each font file cut to
// the characters its faces show, with digits and basic punctuation, as WOFF2. A subset made
// before (the same file and characters) is taken from the cache.
class SiteFonts {
  public:
    explicit SiteFonts(std::string workingFolder) : workingFolder_(std::move(workingFolder)) {}

    SiteFontSet prepare(const FaceCharacters& faces);

  private:
    std::string workingFolder_;
    // Cache file name to the name the subset takes beside the pages.
    std::map<std::string, std::string> names_;
};

// Whether a face can travel with a site, and if not, why.
enum class FaceStanding { Travels, Restricted, OnlyHere, Missing };
FaceStanding StandingOf(const FontFace& face, const std::string& workingFolder);

// What the site check says of the faces of a site: that the option would help, and each face
// that cannot travel.
std::vector<std::string> FontFindings(const FaceCharacters& faces, bool siteFonts,
                                      const std::string& workingFolder);

// The fonts of a folder's pages, its stored faces read again only when the store changed: the
// editor page and the previews ask at every change.
class FolderFonts {
  public:
    explicit FolderFonts(std::string workingFolder) : fonts_(std::move(workingFolder)) {}

    // The page given counts as it is now, beside the stored designs.
    SiteFontSet prepare(PageStore& store, const std::string& folder,
                        const PageRecord* current = nullptr);

  private:
    SiteFonts fonts_;
    std::string folder_;
    long long generation_ = -1;
    FaceCharacters stored_;
};

// A face as the user reads it: "EB Garamond bold italic".
std::string FaceName(const FontFace& face);

// The @font-face rules of the fonts in a style element, each file at the address given;
// empty for no fonts.
std::string FontFaceStyle(const std::vector<TravellingFont>& fonts,
                          const std::function<std::string(const TravellingFont&)>& address);

// The fonts the page's sections show, for preloading.
std::vector<TravellingFont> FontsOfPage(const SiteFontSet& set, const PageRecord& page);

// Puts each font file beside the pages unless it is there already; false when one could not
// be written.
bool PlaceFonts(const std::vector<TravellingFont>& fonts, const std::string& siteFolder);

// Whether a file name is one this program gives a font beside the pages.
bool IsTravellingFontName(const std::string& name);

// Font files this program put beside the pages that no page refers to any more. The pages are
// read only when the folder holds a font file other than the current ones.
void RemoveUnreferencedFonts(const std::string& siteFolder,
                             const std::vector<TravellingFont>& current,
                             const std::function<std::vector<std::string>()>& pageTexts);
