#pragma once

#include <functional>
#include <string>
#include <vector>

#include "page/clipped_items.h"

struct PageRecord;
struct Workspace;
class Clipboard;
class EditorPageWriter;

// The commands on the items the user selected in the editor page, each one undo step:
// duplicate, copy, cut and paste (between pages of the working folder too), delete, and the
// alignments chosen in an item's options. Items are named as the page names them: a text id or
// a picture name, each ending with "~", one after another.
class ItemCommands {
  public:
    ItemCommands(Workspace& workspace, EditorPageWriter& writer, Clipboard& clipboard,
                 std::function<int()> draw);

    // Copies beside the originals, one step (10 pixels, or the grid's) down and right.
    void duplicate(const std::string& names);
    // Keeps the items for pasting; the system clipboard gets the sections' text, for other
    // programs.
    void copy(const std::string& names);
    void cut(const std::string& names);
    // Onto the page they came from, a step further down and right each time; onto another
    // page, where they stood.
    void paste();
    void remove(const std::string& names);
    // Lines the items up ("left", "centre", "right", "top", "middle", "bottom") or spaces them
    // evenly ("horizontal", "vertical") in the redrawn editor page, where their sizes are
    // known.
    void align(const std::string& how, const std::string& names);
    // The items shared with every page of the site folder, or taken back onto this page only.
    void share(const std::string& names, bool everyPage);
    // The named items as Copy takes them, after the layout the page handed over.
    std::vector<ClippedItem> clipped(const std::string& names);
    // The items put on the page as new ones, moved across and down, and shown selected.
    void placeSelected(const std::vector<ClippedItem>& items, int across, int down);

  private:
    // The layout the page handed over, then the named items the page has.
    std::vector<std::string> itemsNamed(const std::string& names);
    // Puts the clipped items on the page, moved by the offset, as new items; their names.
    std::string place(const std::vector<ClippedItem>& items, int offset);
    int step() const;
    // The page drawn again, with the given items selected.
    void redrawSelecting(const std::string& names);

    Workspace& workspace_;
    EditorPageWriter& writer_;
    Clipboard& clipboard_;
    // Draws the numbers of new picture names.
    std::function<int()> draw_;
};

// The clipped items put on the page as new items of its own counting, moved across and down;
// their names. A picture's number is drawn.
std::string PlaceItems(PageRecord& page, const std::vector<ClippedItem>& items, int across,
                       int down, const std::function<int()>& draw);

// The items of the page by name, as Copy takes them; names the page lacks are left out.
std::vector<ClippedItem> ClipItems(const PageRecord& page, const std::vector<std::string>& names);
// Every section and picture of the page, as Copy takes them.
std::vector<ClippedItem> ClipEveryItem(const PageRecord& page);

// The item names of a command's argument ("pagetextitem1~pageimageitem7~/" gives both); what
// does not end with "~" is left out.
std::vector<std::string> ItemNames(const std::string& argument);
