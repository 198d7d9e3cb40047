#pragma once

struct Workspace;
class PageCatalog;
class PageStore;
class Prompts;

// File > Export Site and File > Import Site: the site folder shown carried away in one file,
// and such a file brought into a site folder of this working folder, which is then shown.
class SiteArchiveCommands {
  public:
    SiteArchiveCommands(Workspace& workspace, PageCatalog& catalog, PageStore& store,
                        Prompts& prompts);

    void exportSite();
    void importSite();

  private:
    Workspace& workspace_;
    PageCatalog& catalog_;
    PageStore& store_;
    Prompts& prompts_;
};
