#pragma once

#include <string>
#include <utility>

#include "page/choice_list.h"
#include "page/clipped_items.h"
#include "page/hosting_folder.h"
#include "page/page_history.h"
#include "page/page_record.h"

// One-shot and lifetime switches of the designer.
struct SessionFlags {
    // Set by the save-as command so that the page-list refill keeps the current design.
    bool keepDesign = false;
    // Keeps the exit save away until the user has opened a page.
    bool noSaveOnExit = false;
    // The first background-picture browse starts in the working folder's backgrounds.
    bool firstBackgroundBrowse = true;
    bool uploadNotice = false;
};

// Everything the main window holds while the program runs: the page being designed, the
// editor state, the folder and page lists it shows, its caption and the hosting folder.
struct Workspace {
    explicit Workspace(std::string folder) : workingFolder(std::move(folder)) {}

    std::string workingFolder;
    PageRecord page;
    EditorState editor;
    ChoiceList folders{ChoiceList::Order::Sorted};
    ChoiceList pages{ChoiceList::Order::AsAdded};
    SessionFlags flags;
    HostingFolder hosting;
    // The undo and redo steps of the page being designed.
    PageHistory history;
    // The main window's caption: the page title.
    std::string caption;
    // Items copied or cut, for pasting into this page or another.
    ItemClipboard itemClipboard;
};

// The site folder the page is written to: the one selected in the folder list, else the page's
// own.
inline std::string SiteFolderShown(const Workspace& workspace) {
    return workspace.folders.selectedIndex() ? workspace.folders.selectedText()
                                             : workspace.page.directory;
}
