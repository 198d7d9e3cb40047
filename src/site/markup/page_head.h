#pragma once

#include <string>

#include "page/page_record.h"

// The editor page up to where the items begin: its scripts, the add menu, the body tag with
// the page background and the pending onload requests, and the container's start tag.
std::string PageHead(const PageRecord& page, const EditorState& editor);
