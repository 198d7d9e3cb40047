#pragma once

#include <string>
#include <utility>
#include <vector>

#include "page/page_record.h"

// Links that lead to a page file by its name follow the page when it is renamed.

// Where each href value of the markup stands (quoted either way or bare): its first character
// and length.
std::vector<std::pair<std::size_t, std::size_t>> LinkSpans(const std::string& markup);

// The markup with every href that leads to oldName ("old.html", "old.html#part",
// "old.html?x", quoted either way or bare) leading to newName; how many changed. A link to
// another site or another folder is left alone.
int RewriteLinks(std::string& markup, const std::string& oldName, const std::string& newName);

// The page's links to oldName, in its sections (their HTML and the rich text it is made from)
// and on its pictures, leading to newName; true when any changed.
bool FollowRename(PageRecord& page, const std::string& oldName, const std::string& newName);

// Whether the page's sections (their HTML) or pictures link to the page file of that name; a
// site menu listing it is not such a link.
bool LinksTo(const PageRecord& page, const std::string& name);
