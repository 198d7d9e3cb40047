#pragma once

#include <cstddef>
#include <string>
#include <vector>

struct Workspace;
class Browser;
class Prompts;
class PageStore;
class EditorPageWriter;

// Fills the folder and page lists from the page store and loads the page the lists point at.
class PageCatalog {
  public:
    PageCatalog(Workspace& workspace, PageStore& store, EditorPageWriter& writer, Browser& browser);
    // Stores the design, checks the site folder shown and lists the findings in the window;
    // the finding the user opens shows its page with its item selected.
    void checkSite(Prompts& prompts);
    // A menu of the site folder's pages added at the top left of the page, shared with every
    // page of the folder, and selected; a folder without pages is told so instead.
    void addSiteMenu(Prompts& prompts);

    // The site folder shown, for a command on the whole site, with the open page stored first;
    // empty, the user told to choose one, when none is shown.
    std::string siteFolderStored(Prompts& prompts);

    // Every stored folder that still exists on disk, sorted.
    void fillFolderList();
    // The stored pages of the selected folder that still exist on disk. A folder without any
    // offers the quickstart page (default site folder) or a fresh index.html.
    void fillPageList();
    // The given name first and selected, then the folder's other stored pages. Keeps the
    // current design when the keep-design flag is set (and clears it); otherwise starts a fresh
    // page under that name.
    void fillPageListWith(const std::string& name);
    // A blank page of default values and empty lists, then loadPage.
    void resetToFreshPage();
    // Reads the page named by the file name in the selected folder and shows it.
    void loadPage();
    // The user asked for the page open at the last exit: from now on the page is saved at exit.
    void resumeLastPage();
    // The user chose a folder in the folder list: its first page is opened.
    void chooseFolder(std::size_t index);
    // Site > Add Language Switcher: a section shared by every page of the folder whose links
    // lead to the same page in each of the site's languages.
    void addLanguageSwitcher(Prompts& prompts);
    // The language bar: the page shown and edited in one of the site's languages (its layout
    // the same in all); the main one when the tag is not another of the site's.
    void editIn(const std::string& language);
    // The site folder's languages, the main one first; none for a site of one language.
    std::vector<std::string> siteLanguages();
    // The user chose a page in the page list: it is opened.
    void choosePage(std::size_t index);
    // Stores the page being edited with the layout its editor page shows now, before another
    // page replaces it and at exit. Nothing is stored before the user opened a page, nor for
    // the quickstart page; when the editor page cannot report its layout, the layout of the
    // last command is kept.
    // False when the page could not be stored (the store said why); its recovery file stays.
    bool storeCurrentDesign();
    // Writes the design of the open page, with the layout its editor page shows, to the
    // recovery file; nothing before a page was opened or for the quickstart page.
    void keepForRecovery();

  private:
    // A section made from the rich text given (a menu, the switcher), placed at the page's top
    // left, shared with every page of the folder and selected.
    void placeSharedSection(const std::string& richText);
    // False before the user opened a page, and for the quickstart page.
    bool editing() const;

    Workspace& workspace_;
    PageStore& store_;
    EditorPageWriter& writer_;
    Browser& browser_;
};
