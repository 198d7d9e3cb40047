#pragma once

#include <string>

struct Workspace;
class PageCatalog;
class PageStore;
class Prompts;

// File > Export Site, File > Import Site and File > New Site: the site folder shown carried
// away in one file, and such a file (one of the user's, or a starter that comes with the
// program) brought into a site folder of this working folder, which is then shown.
class SiteArchiveCommands {
  public:
    SiteArchiveCommands(Workspace& workspace, PageCatalog& catalog, PageStore& store,
                        Prompts& prompts, std::string startersFolder);

    void exportSite();
    void importSite();
    // A site file given (one the desktop opened with the program) imported as importSite does.
    void importFile(const std::string& file);
    // The gallery of starters, "Blank site" first: the chosen one made into the folder the user
    // names, through the import and its checks, and opened on its home page.
    void newSite();

  private:
    // The site file brought into the folder the user chooses, after asking before anything is
    // replaced; whether it came in and is shown.
    bool bringIn(const std::string& file, const std::string& folderQuestion, const char* caption);
    void show(const std::string& siteFolder);

    Workspace& workspace_;
    PageCatalog& catalog_;
    PageStore& store_;
    Prompts& prompts_;
    std::string startersFolder_;
};
