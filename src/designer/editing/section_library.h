#pragma once

#include <string>
#include <vector>

#include "page/clipped_items.h"
#include "page/page_record.h"

struct Workspace;
class ItemCommands;
class Prompts;

// The library of sections: items kept under a name in the working folder's sections/, with
// their pictures' bytes, their layout from the corner of their box, their words in every
// language and their phone choices, to be added to any page; the sections that come with the
// program beside them. A section can be saved to a file and added from one, under the checks of
// a site file's import.
class SectionLibrary {
  public:
    SectionLibrary(Workspace& workspace, ItemCommands& items, Prompts& prompts,
                   std::string shippedFolder);

    // The selected items kept as a section under the name the user gives; a section of that
    // name is replaced only when the user agrees.
    void saveSection(const std::string& names);
    // The section chosen in the library added with the corner of its box at the spot, as new
    // items, selected; one undo step.
    void addSection(int left, int top);

  private:
    // The user's sections, then the program's.
    std::vector<std::string> files() const;

    Workspace& workspace_;
    ItemCommands& items_;
    Prompts& prompts_;
    std::string shippedFolder_;
};

// A section of the items under the name: new items of its own counting, moved so that their box
// starts at the corner.
PageRecord SectionOf(const std::vector<ClippedItem>& items, const std::string& name);

// Where the user's sections are kept, inside the working folder.
inline constexpr const char* kSectionsFolder = "sections";
