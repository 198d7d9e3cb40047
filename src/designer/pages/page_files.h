#pragma once

#include <optional>
#include <string>

struct Workspace;
class Browser;
class ControlsPage;
class PageCatalog;
class PageStore;
class Prompts;
class Shell;

// The page file behind the design: making a new one, saving under another name, renaming,
// retitling, and showing the page or the help in the user's browser.
class PageFiles {
  public:
    PageFiles(Workspace& workspace, PageCatalog& catalog, PageStore& store, ControlsPage& controls,
              Browser& browser, Prompts& prompts, Shell& shell);

    // Asks for a file, writes an empty page into it and starts a fresh design under its name.
    void newPage();
    // Asks for the name the current design is saved under next; false when cancelled.
    bool saveAsPage();
    void renamePage();
    // Renames a page of the folder shown (the open one or another), its stored design with it,
    // and the folder's links follow; false when the name was refused or the file could not be
    // renamed (the user was told). The old name is a copy: it may be the open page's own.
    bool renameInFolder(std::string oldName, const std::string& entered);
    // The page file name for a name typed for the page now called oldName; nothing when it is
    // refused (the user was told): a path, no name, another page's, or a file the user keeps.
    std::optional<std::string> checkedNewName(const std::string& entered,
                                              const std::string& oldName);
    void editPageTitle();
    void previewPage();
    void showHelp();

  private:
    // Every stored page of the folder that linked to the old name leads to the new one, and is
    // stored and written again; the user is told which.
    void followLinks(const std::string& folder, const std::string& oldName,
                     const std::string& newName);

    // True when nothing is at the path, it is this page's own file, or the user lets it be
    // replaced.
    bool mayReplace(const std::string& path);
    // A chosen path that would make a page outside the folder shown, or a hidden file (the
    // folder's shared items among them), is refused with a message.
    bool refusesName(const std::string& path);
    // Selects the folder in the folder list, adding it when it is not listed.
    void selectFolder(const std::string& folder);
    // The folder the page is written to: the one selected, else the page's own.
    std::string siteFolder() const;

    Workspace& workspace_;
    PageCatalog& catalog_;
    PageStore& store_;
    ControlsPage& controls_;
    Browser& browser_;
    Prompts& prompts_;
    Shell& shell_;
};

// The page file name for a typed name: everything before its first "." followed by ".html"
// ("about", "about.htm" and "about.x.html" all give "about.html").
std::string WithHtmlExtension(const std::string& name);
