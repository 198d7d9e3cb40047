#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "page/page_record.h"

// The editor page up to where the items begin: its scripts, the add menu, the body tag with
// the page background and the pending onload requests, the container's start tag, and the
// font rules given (a style element; empty for a site without fonts of its own).
std::string PageHead(const PageRecord& page, const EditorState& editor,
                     std::string_view fontStyle = std::string_view());

// The parts of a written head that change with the page: what a page brought up to date in
// place takes over.
struct PageHeadParts {
    // The head's own script, between its tags.
    std::string_view script;
    // The body's start tag, whole.
    std::string_view bodyStart;
    // The container's start tags; empty for a page without a container.
    std::string_view container;
    // Whether the items shared with the site are marked.
    bool siteItemMark = false;
    // The font rules, whole; empty when there are none.
    std::string_view fonts;
};

// Nothing for a text that PageHead did not write.
std::optional<PageHeadParts> SplitPageHead(std::string_view head);
