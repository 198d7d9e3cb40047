#pragma once

#include <string>

#include "site/published_page.h"

struct Workspace;
class EditorPageWriter;
class PageStore;
class Prompts;

// The options of the page being edited and of its site folder, and the phone preview that
// shows what they make of the page on a phone.
class PageSiteOptions {
  public:
    PageSiteOptions(Workspace& workspace, PageStore& store, EditorPageWriter& writer,
                    Prompts& prompts);

    // The page's language and description, and whether it shows the site's shared items.
    void editPageOptions();
    // The site folder's options: whether its pages are phone-friendly.
    void editSiteOptions();
    // Site > Languages: the folder's languages; the page is shown again in the main one.
    void editSiteLanguages();
    // Whether the site folder of the page being edited has phone-friendly pages.
    bool phoneFriendlyHere();
    // Writes the page as its site folder would publish it to a phone, readable from the
    // working folder without a save, and gives its path; empty when it cannot be written, or
    // when only a change is asked for and the page reads as it did (most commands change
    // nothing).
    std::string writePhonePreview(bool onlyWhenChanged);

  private:
    // The site folder shown; empty, and told, when there is none.
    std::string chosenFolder();

    Workspace& workspace_;
    PageStore& store_;
    EditorPageWriter& writer_;
    Prompts& prompts_;
    PagePublisher preview_;
    std::string previewText_;
};
