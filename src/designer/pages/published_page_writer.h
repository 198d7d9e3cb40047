#pragma once

#include <optional>
#include <string>
#include <vector>

#include "site/published_page.h"

struct Workspace;
class Clipboard;
class PageStore;
class Prompts;

// Writes every page of the folder but the quickstart tutorial and the one skipped from its
// stored design, as the command line does, telling the prompts how far it has come when they
// are given.
struct StoredPagesWritten {
    std::size_t written = 0;
    std::vector<std::string> failed;
};
StoredPagesWritten WriteStoredPages(PageStore& store, PagePublisher& publisher,
                                    const std::string& folder,
                                    const std::string& skipped = std::string(),
                                    Prompts* progress = nullptr);

// Save, save as, preview and upload: takes the layout the editor page just put on the
// clipboard, stores the page and writes it as a finished page into the selected site folder.
class PublishedPageWriter {
  public:
    PublishedPageWriter(Workspace& workspace, PageStore& store, Clipboard& clipboard,
                        Prompts& prompts);

    // False when nothing was written (the quickstart page, or the file could not be written).
    bool writePublishedPage();
    // The page text written for the hosting service; nothing when no page was written, and
    // then nothing may be uploaded.
    std::optional<std::string> writeUploadPage();

  private:
    // The folder's shared items as stored.
    PageRecord storedSiteItems(const std::string& folder);
    // Every page of the folder but the one just written, written again from its stored design.
    void republishOthers(const std::string& folder, const std::string& written);
    std::optional<std::string> write(PublishVariant variant);

    Workspace& workspace_;
    PageStore& store_;
    Clipboard& clipboard_;
    Prompts& prompts_;
    PagePublisher publisher_;
};
