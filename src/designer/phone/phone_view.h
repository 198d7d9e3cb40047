#pragma once

#include <string>

#include "site/published_page.h"

struct PageRecord;
struct Workspace;
class Browser;
class EditorPageWriter;
class PageStore;
class Prompts;

// The phone view of the main window: the page as phones show it, in a column 375 pixels wide,
// where the user drags items up and down, hides them on phones, sets pictures' widths and
// sections' text sizes, and the space between items. Every change is a phone choice of the
// page record, so undo, the store and publishing take it like any other; the desktop layout
// is never touched.
class PhoneView {
  public:
    PhoneView(Workspace& workspace, PageStore& store, EditorPageWriter& writer, Browser& browser,
              Prompts& prompts);

    // The view switched on (the desktop page's layout taken first, so that a drag since the
    // last command is kept), or off, the desktop page shown again.
    void switchOn();
    void switchOff();
    // Writes the phone view of the page and shows it.
    void show(const PageRecord& page);

    // "id~place": the item moves to that place of the column (counted from 0).
    void move(const std::string& argument);
    // "id~NAME~VALUE": a choice for one item; "as designed" takes the choice back.
    void choose(const std::string& argument);
    // The space between items, in pixels.
    void space(const std::string& pixels);

    std::string viewPagePath() const;
    std::string itemsPagePath() const;

  private:
    Workspace& workspace_;
    PageStore& store_;
    EditorPageWriter& writer_;
    Browser& browser_;
    Prompts& prompts_;
    PagePublisher publisher_;
};
