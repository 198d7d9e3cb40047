#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/site_menu_choices.h"
#include "platform/site_options.h"

enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MessageIcon { None, Information, Warning, Error, Question };
enum class MessageAnswer { Ok, Cancel, Yes, No };

// A save-file dialog that asks before it replaces an existing file. The filter is written
// "description (*.ext)|*.ext||".
struct SaveFileRequest {
    std::string title;
    std::string filter;
    std::string initialPath;
};

// A file-open dialog. The filter is written as for SaveFileRequest; the start path is a
// folder followed by a file pattern ("/x/backgrounds/*.*") or empty.
struct OpenFileRequest {
    std::string filter;
    std::string startPath;
};

// A colour the user chose.
struct Rgb {
    int red = 0;
    int green = 0;
    int blue = 0;
};

// What the picture properties dialog shows and hands back.
struct ImageProperties {
    std::string sourceFile;
    std::string linkTarget;
    // What the picture shows, for people who cannot see it: none given, or empty for a picture
    // that only decorates.
    std::optional<std::string> description;
};

// The answer of the spelling dialog about one word: the text that replaces it (the word itself
// or a suggestion when the user ignored it), whether it goes into the custom word list, and
// whether the whole check was cancelled.
struct SpellAnswer {
    std::string replacement;
    bool addWord = false;
    bool cancelAll = false;
};

// What a page tells readers beyond its look: its language (a language tag such as "en-GB") and
// a one-line description; none set is none written.
struct PageOptions {
    std::optional<std::string> language;
    std::optional<std::string> description;
    // The page leaves out the items its site folder shares with every page.
    bool noSiteItems = false;
};

// A starter site as the New Site window offers it: its name, its kind, one line about it and a
// picture of its home page.
struct StarterOffer {
    std::string id;
    std::string name;
    std::string kind;
    std::string line;
    std::string picture;
};

// A section of the library as its window shows it: its name, its file, and the boxes of its
// items from its corner (a section's colour, or a picture's file) to draw it small.
struct SectionBox {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    std::string colour;
    std::string picture;
};

struct SectionOffer {
    std::string name;
    std::string file;
    std::vector<SectionBox> boxes;
};

// What the user does in the library: add the section chosen, add one from a file, or save the
// chosen one to a file.
enum class SectionAction { Add, AddFromFile, SaveToFile };

struct SectionChoice {
    SectionAction action = SectionAction::Add;
    std::size_t index = 0;
};

// The choice of the hosting folder dialog.
enum class FolderAction { ViewOnline, ChangeName };

// The window that lists the files of the hosting folder in a browser of its own: it shows the
// local connecting page, then the listing address, and tells every address it is sent to.
struct ServerFilesWindow {
    std::string connectingPage;
    std::string listingAddress;
    std::function<void(const std::string& address)> navigated;
};

// A page of the site folder as the "Pages" window lists it.
struct PageListEntry {
    std::string fileName;
    std::string title;
    // When the page was last saved ("2026-12-08 14:05"), empty when not known.
    std::string lastSaved;
};
enum class PageAction { Open, New, Duplicate, Rename, Delete, MakeHome, ShowDeleted };
// What the user asked of the "Pages" window, and of which page.
struct PageChoice {
    PageAction action = PageAction::Open;
    std::string fileName;
};

// A deleted page as the "Deleted pages" window lists it, newest first.
struct DeletedPageEntry {
    std::string fileName;
    std::string title;
    // When it was deleted, and until when it is kept ("2026-12-08 14:05").
    std::string deleted;
    std::string keptUntil;
};

// A kept version of a page as the "History" window lists it, newest first.
struct PageVersionEntry {
    // When it was saved ("2026-12-08 14:05:31").
    std::string savedAt;
    // A small picture of the page (PNG), empty when none was taken.
    std::string picture;
};
enum class VersionAction { Look, Restore };
struct VersionChoice {
    VersionAction action = VersionAction::Look;
    std::size_t index = 0;
};

// What the "Publish" window leaves: the site folder's targets as the user left them, the one to
// publish to now (none when the window was only closed), and a password, token or
// "KEY:SECRET" typed for it.
struct PublishRequest {
    std::vector<std::string> targets;
    std::optional<std::size_t> chosen;
    std::string secret;
};

// Everything the program asks the user. The program shows real dialogs; tests script the
// answers. A dialog answered with nothing was cancelled.
class Prompts {
  public:
    virtual ~Prompts() = default;
    // A Yes/No question with a warning icon asks about something risky (plain FTP, a
    // certificate or host key, deleting or replacing files): its default answer is No.
    virtual MessageAnswer messageBox(const std::string& text, const std::string& caption,
                                     MessageButtons buttons, MessageIcon icon) = 0;
    // The chosen full path.
    virtual std::optional<std::string> saveFileName(const SaveFileRequest& request) = 0;
    // The page-name dialog ("Change file name:"), which starts empty.
    virtual std::optional<std::string> pageName() = 0;
    // The page-title dialog, showing the current title.
    virtual std::optional<std::string> pageTitle(const std::string& current) = 0;
    // The edit-options dialog of a clicked item: "CENTER", "EDIT", "DELETE" or "NONE".
    virtual std::optional<std::string> clickOption() = 0;
    // The chosen full path.
    virtual std::optional<std::string> openFileName(const OpenFileRequest& request) = 0;
    virtual std::optional<Rgb> colour() = 0;
    // The "Image Properties" dialog on a picture's source file and link target.
    virtual std::optional<ImageProperties> imageProperties(const ImageProperties& current) = 0;
    // The "Page length selector", showing the current length.
    virtual std::optional<std::string> pageLength(const std::string& current) = 0;
    // The "Add a link target" dialog, which starts empty.
    virtual std::optional<std::string> linkTarget() = 0;
    // The "Quill Spellcheck" dialog on a word the dictionary does not know; the suggestions
    // are separated by single spaces.
    virtual SpellAnswer spellReplacement(const std::string& word,
                                         const std::string& suggestions) = 0;
    // The "Corvala Folder Agreement" with its text: true when accepted.
    virtual bool hostingAgreement(const std::string& text) = 0;
    // The "Corvala Folder Name" dialog with its prompt, showing the name typed last.
    virtual std::optional<std::string> folderName(const std::string& prompt,
                                                  const std::string& name) = 0;
    // The "Corvala Folder" dialog: view the page online or change the folder's name.
    virtual std::optional<FolderAction> folderAction() = 0;
    // The small "Transfering file(s)..." window shown while an upload runs, and how far the
    // current transfer has come, in percent.
    virtual void uploadNotice(bool shown) = 0;
    // The same notice while the program waits on a server (connecting, listing): the text says
    // for what, and its Cancel ends the wait; an empty text hides it.
    virtual void waitNotice(const std::string& text) = 0;
    // Called while a server is awaited: keeps the windows painted and answering, and false
    // once the user cancelled the wait on the notice.
    virtual bool waitGoesOn() = 0;
    // How far a long task has come: done of total steps, the step under way named; gone once
    // done reaches total.
    virtual void taskProgress(const std::string& step, std::size_t done, std::size_t total) = 0;
    virtual void transferProgress(int percent) = 0;
    // Called between the steps of a transfer: keeps the windows painted, and false once the
    // user cancelled it on the notice.
    virtual bool transferGoesOn() = 0;
    // The "New server folder" dialog: the name typed.
    virtual std::optional<std::string> newFolderName() = 0;
    // A folder of the local disk, starting at the given one.
    virtual std::optional<std::string> chooseFolder(const std::string& title,
                                                    const std::string& start) = 0;
    // The "Delete files from Corvala server" window, until the user closes it.
    virtual void serverFiles(const ServerFilesWindow& window) = 0;
    // The "Page Options" dialog: the page's language (the user's own proposed when none is
    // set) and description.
    virtual std::optional<PageOptions> pageOptions(const PageOptions& current) = 0;
    // The "Site Options" dialog of a site folder: phone-friendly pages, web pictures and the
    // site's address.
    virtual std::optional<SiteOptions> siteOptions(const std::string& folder,
                                                   const SiteOptions& current) = 0;
    // The "Languages" window of a site folder: its languages (tags), the main one first.
    virtual std::optional<std::vector<std::string>> siteLanguages(
        const std::string& folder, const std::vector<std::string>& current) = 0;
    // The "Site Menu" window: the menu's pages (of the folder's), order, labels, layout and
    // look.
    virtual std::optional<SiteMenu> siteMenu(const SiteMenu& current, const FolderPages& pages) = 0;
    // The "Check Site" window: what was found in the site folder, a line each; the line the
    // user opens, if any.
    virtual std::optional<std::size_t> siteCheck(const std::string& folder,
                                                 const std::vector<std::string>& findings) = 0;
    // The "New Site" window: "Blank site", then the starters; the id of the one chosen (empty
    // for a blank site), nothing when cancelled.
    virtual std::optional<std::string> newSite(const std::vector<StarterOffer>& starters) {
        static_cast<void>(starters);
        return std::nullopt;
    }
    // The name the selected items are kept under as a section; nothing when cancelled.
    virtual std::optional<std::string> sectionName() { return std::nullopt; }
    // The "Sections" window: the library of sections, each drawn small; what the user chose.
    virtual std::optional<SectionChoice> sectionLibrary(const std::vector<SectionOffer>& sections) {
        static_cast<void>(sections);
        return std::nullopt;
    }
    // The "Pages" window: the site folder's pages, the open one selected; what the user asked.
    virtual std::optional<PageChoice> pageList(const std::string& folder,
                                               const std::vector<PageListEntry>& pages,
                                               const std::string& current) = 0;
    // The "Publish" window of a site folder: its targets, each as quillora-publish names one
    // after --upload; nothing when it was cancelled.
    virtual std::optional<PublishRequest> publishSite(const std::string& folder,
                                                      const std::vector<std::string>& targets) = 0;
    // The "Deleted pages" window of a site folder: the deleted pages still kept; the one to
    // restore.
    virtual std::optional<std::size_t> deletedPages(const std::string& folder,
                                                    const std::vector<DeletedPageEntry>& pages) = 0;
    // The "History" window of a page: its kept versions; the one to look at or restore.
    virtual std::optional<VersionChoice> pageHistory(
        const std::string& page, const std::vector<PageVersionEntry>& versions) = 0;
};
