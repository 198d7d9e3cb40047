#pragma once

#include <optional>
#include <string>
#include <vector>

struct Workspace;
class EditorPageWriter;
class PageCatalog;
class PageFiles;
class PageStore;
class Prompts;

// The "Pages" window's work on the pages of the site folder shown: open, new, duplicate,
// rename, delete and making one the home page. The window comes back after each change until
// the user opens a page or closes it.
class PageManager {
  public:
    // The pages whose sections or pictures link to the page, and those whose own menu lists
    // it; whether the folder's shared menu does.
    struct Links {
        std::vector<std::string> linking;
        std::vector<std::string> menus;
        bool sharedMenu = false;
        // Where those menus have it (`MenuPlacesOf`), for a restore to put it back.
        std::string menuPlaces;
    };

    PageManager(Workspace& workspace, PageCatalog& catalog, PageFiles& files, PageStore& store,
                EditorPageWriter& writer, Prompts& prompts);

    void managePages();
    // Asks, naming what links to the page, then takes it out of every menu, removes its file
    // and its stored design, and remembers it as deleted for the next upload; false when the
    // user kept it or it could not be removed.
    bool deletePage(const std::string& fileName);

    // Stores the open page and writes every page of the site folder from its stored design,
    // as the command line does, showing how far it has come; then one summary. Stored pages
    // whose files are gone from the folder are asked about first: deleted as the Pages window
    // deletes, or written again.
    void publishSite();

    // Whether Undo now brings back the page deleted last: nothing was done since.
    bool canUndoDeletion() const;
    // Brings the page deleted last back, when Undo may; false when it may not.
    bool undoDeletion();

  private:
    // Deletes the page without asking.
    bool removePage(const std::string& folder, const std::string& fileName, const Links& links);
    void duplicatePage(const std::string& fileName);
    // The pages whose menus take the new page in are written again, the open one redrawn.
    void joinMenus(const std::string& folder, const std::string& fileName);
    void makeHomePage(const std::string& fileName);
    void openPage(const std::string& fileName);
    Links linksTo(const std::string& folder, const std::string& fileName);
    // The page out of every stored menu of the folder, and of the open page's; the pages whose
    // menus changed are written again.
    void removeFromMenus(const std::string& folder, const std::string& fileName,
                         const Links& links);

    // The "Deleted pages" window; the page chosen is restored.
    void showDeleted(const std::string& folder);
    // The deleted page back from its kept design, with its versions, into the menus it was in;
    // the pages whose menus show it are written again. Refused while the folder has a page of
    // its name.
    bool restoreDeleted(const std::string& folder, long long id);

    // The delete Undo may take back: the design kept aside, and the open page's history then.
    struct UndoableDeletion {
        long long id = 0;
        std::string folder;
        unsigned long generation = 0;
        std::size_t steps = 0;
    };
    std::optional<UndoableDeletion> undoable_;

    Workspace& workspace_;
    PageCatalog& catalog_;
    PageFiles& files_;
    PageStore& store_;
    EditorPageWriter& writer_;
    Prompts& prompts_;
};
