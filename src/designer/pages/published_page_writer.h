#pragma once

#include <optional>
#include <string>

#include "site/published_page.h"
#include "site/stored_pages.h"

struct Workspace;
class Browser;
class Clipboard;
class PageStore;
class Prompts;

// Save, save as, preview and upload: takes the layout the editor page just put on the
// clipboard, stores the page and writes it as a finished page into the selected site folder.
class PublishedPageWriter {
  public:
    // The browser gives the picture of the page kept with each saved version.
    PublishedPageWriter(Workspace& workspace, PageStore& store, Clipboard& clipboard,
                        Browser& browser, Prompts& prompts);

    // False when nothing was written (the quickstart page, or the file could not be written).
    bool writePublishedPage();
    // The page text written for the hosting service; nothing when no page was written, and
    // then nothing may be uploaded.
    std::optional<std::string> writeUploadPage();

  private:
    // The folder's shared items as stored.
    PageRecord storedSiteItems(const std::string& folder);
    // Whether the page, holding a site menu or showing the folder's shared items, is saved
    // under a new title; its own menus (the shared ones among them) then follow the title.
    bool retitledWithMenus(PageRecord& page);
    // Every page of the folder but the one just written, written again from its stored design.
    void republishOthers(const std::string& folder, const std::string& written);
    std::optional<std::string> write(PublishVariant variant);

    Workspace& workspace_;
    PageStore& store_;
    Clipboard& clipboard_;
    Browser& browser_;
    Prompts& prompts_;
    PagePublisher publisher_;
};
