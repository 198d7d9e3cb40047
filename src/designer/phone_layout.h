#pragma once

#include <string>
#include <vector>

#include "page/page_record.h"

// The ids of the page's items in reading order: items whose vertical extents overlap form a
// row, read left to right; rows are read top to bottom. Each id once. A text section without a
// height of its own is as tall as its words make it (EstimatedTextHeight).
std::vector<std::string> ReadingOrder(const PageRecord& page);

// What a phone-friendly page carries in its head: the viewport declaration and one style
// block that, below 600 CSS pixels, sets the container and the items in one column in reading
// order (text sections as wide as the column, pictures scaled down to it). Wider screens match
// none of it, so they show the page as designed.
std::string PhoneHead(const PageRecord& page);
