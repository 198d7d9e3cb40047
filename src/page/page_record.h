#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "page/phone_choices.h"

// The title a new page has until the user gives it one.
inline constexpr const char* kDefaultPageTitle = "New Web Page";

// One page as it is stored: the values of its row in the page table, the layout (styles data)
// and five lists. The text, rich-text and text-properties lists run parallel by index, and so
// do the picture and link lists.
// The items of a translation that are no sections.
inline constexpr const char* kTranslatedTitle = "TITLE";
inline constexpr const char* kTranslatedDescription = "DESCRIPTION";

struct PageRecord {
    std::string id;
    std::string directory;
    std::string fileName = "index.html";
    std::string pageTitle = kDefaultPageTitle;
    std::string backColor = "#FFFFFF";
    std::string backImage;
    std::string pageColor = "#E2E2E2";
    std::string pageImage;
    // Opening markup of the page container, left open inside its style attribute; empty for a
    // full-screen page.
    std::string pageContainer;
    std::string pageWidth = "0";
    std::string pageLength = "1000";
    std::string stylesData;
    int elementCount = 0;

    // Text id followed by the item's HTML, or kRemovedItem.
    std::vector<std::string> texts;
    std::vector<std::string> richTexts;
    // text id ^ background colour ^ background picture ^ border colour ^ border width ^ marker
    std::vector<std::string> textProperties;
    // Picture name followed by the picture file's full path.
    std::vector<std::string> pictures;
    std::vector<std::string> links;

    // What the page tells readers beyond its look; a value never set is not written, so the
    // page keeps the bytes it had before these existed.
    std::optional<std::string> language;
    std::optional<std::string> description;
    // Picture name ("pageimageitem3~") to the picture's description; an empty one marks a
    // picture that only decorates.
    std::map<std::string, std::string> pictureDescriptions;
    // The page leaves out the items its folder shares with every page (stored as an extra).
    bool noSiteItems = false;
    // How phones show the page's items (their order, hidden ones, widths, text sizes, spacing).
    PhoneChoices phoneChoices;
    // The page's words in the site's other languages: language tag, then the item (a section's
    // id, kTranslatedTitle or kTranslatedDescription) and its text, a section's in the form of
    // its entry in `texts` without the id. Places, sizes and pictures are shared by all.
    std::map<std::string, std::map<std::string, std::string>> translations;

    // The folder's shared items are merged into this record (never stored with it): a save
    // hands them back to the folder's record, and the counter names the next one.
    bool siteItemsShown = false;
    int siteElementCount = 0;
    // The ids of the shared items merged in: the ones this page knew. Its save hands back its
    // own version of these (or their removal) and leaves every other stored shared item be,
    // such as one another program added meanwhile.
    std::vector<std::string> siteItemsKnown;
    // The folder's pages (file name and title), read with a page that holds a site menu.
    std::vector<std::pair<std::string, std::string>> sitePages;

    bool hasContainer() const { return pageContainer.size() > 5; }
};

// The values above as named pairs, for the store and the recovery file: "LANGUAGE",
// "DESCRIPTION", "ALT " followed by the picture name and "NOSITEITEMS"; the other way, a pair
// sets its value (an unknown name is left alone).
std::vector<std::pair<std::string, std::string>> PageExtras(const PageRecord& page);
void SetPageExtra(PageRecord& page, const std::string& name, const std::string& value);

// The item's words in the language: its translation, else the words given (the main ones).
std::string TranslationOr(const PageRecord& page, const std::string& language,
                          const std::string& item, const std::string& otherwise);
// Keeps the words as the item's translation; empty words remove it.
void SetTranslation(PageRecord& page, const std::string& language, const std::string& item,
                    const std::string& words);

// The opening markup of a page container of the given width and length.
std::string PageContainerMarkup(const std::string& width, const std::string& length);

// The pending style change of the text item just edited, applied when the page loads.
struct StyleRequest {
    std::string onload;
    std::string border;
    std::string backgroundPicture;
    std::string backgroundColour;
    std::string textAlignment;

    // After a text edit: no onload, blank border and backgrounds, alignment kept.
    void reset();
};

// What the designer keeps beside the page record while the program runs; never stored.
struct EditorState {
    std::string gridPicture;
    std::string gridSetting = "0";
    std::string gridStart = "0";
    std::string clipboardCache;
    // Set when the editor page announced a layout (its clipboard-cache command) that no
    // command has taken yet.
    bool layoutAnnounced = false;
    // The layout the last command took from the editor page, for the undo steps.
    std::optional<std::string> takenLayout;
    // The layout the editor page last reported, and how many reports there have been: from
    // them the editor page's writer learns which items the user moved since it wrote them.
    std::string reportedLayout;
    int layoutReports = 0;
    std::string centringRequest;
    // A call of the editor page's script run once the next redrawn page has loaded: the items
    // to select after a paste, an alignment chosen in an item's options.
    std::string layoutRequest;
    StyleRequest styleRequest;
    std::string currentTextId;
    std::string newTextLeft;
    std::string newTextTop;
    // Items added where the add menu was opened, by the id their layout record will carry,
    // until a layout holds them: their place (and a picture's size, "^w^h") as added, for the
    // undo step of a later move or resize.
    struct Landing {
        std::string left;
        std::string top;
        std::string size;
    };
    std::map<std::string, Landing> landings;
    // The name of the undo step the running action makes, when the change it makes is not
    // what the step should be called (a version restored); used once.
    std::string stepLabel;
    // How wide the editor page shows in the window (CSS pixels), 0 when not known: a picture
    // added to a full-screen page lands no wider than what the user sees.
    int visibleWidth = 0;
    // The language the page is edited in: its sections show that language's words, and the
    // text editor writes them; empty for the main language. The layout is the same in all.
    std::string editingLanguage;
    // The site's main language when it has several; empty otherwise.
    std::string mainLanguage;
    // The main window shows the page as phones do, with the item chosen there last.
    bool phoneView = false;
    std::string phoneSelected;
};

// Identifiers and markers of the lists.
inline constexpr const char* kTextIdPrefix = "pagetextitem";
inline constexpr const char* kPictureNamePrefix = "pageimageitem";
inline constexpr const char* kRemovedItem = "REMOVED_ITEM";
inline constexpr const char* kDeletedPicture = "DELETETHISFILE";
inline constexpr const char* kNotNewText = "none";
inline constexpr const char* kJustified = "YESTEXTJUSTIFY";
inline constexpr const char* kRightAligned = "YESRIGHTALIGN";
inline constexpr const char* kCentred = "YESCENTERALIGN";
inline constexpr const char* kLeftAligned = "NOJUSTIFY";

// Every styles-data record starts with this; the item's id follows it.
inline constexpr std::string_view kRecordStart = "<div id='";

// The id a styles-data record lays out: the text after kRecordStart up to and including the
// first "~". A record without "~" names no item and gives the empty id.
std::string_view RecordIdIn(std::string_view record);
std::string RecordId(const std::string& record);

std::string TextId(int elementCount);
// The id an item's div carries: a picture's name with a "d" before it, a section's id as it is.
std::string ItemDivId(const std::string& name);
std::string PictureName(int number);
// An item's own name in a list entry or command argument: up to and including its first "~";
// empty when it has none.
std::string ItemNameIn(const std::string& text);
