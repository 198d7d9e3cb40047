#pragma once

#include <string>
#include <vector>

#include "page/page_record.h"

// The ids of the page's items in reading order: items whose vertical extents overlap form a
// row, read left to right; rows are read top to bottom. Each id once. A text section without a
// height of its own is as tall as its words make it (EstimatedTextHeight).
std::vector<std::string> ReadingOrder(const PageRecord& page);

// The ids of the page's items in the order phones show them: those the user placed (their
// ORDER choice) first, by place, then the others in reading order.
std::vector<std::string> PhoneColumn(const PageRecord& page);

// Published pages leave hidden items out; the phone view shows them faded, to be brought back.
enum class PhoneShown { Published, Shaping };

// What a phone-friendly page carries in its head: the viewport declaration and one style
// block that, below 600 CSS pixels, sets the container and the items in one column in the
// phone order (text sections as wide as the column, pictures scaled down to it) with the
// user's phone choices; between 600 pixels and the container's width the container is scaled
// to fit. Wider screens match none of it, so they show the page as designed.
std::string PhoneHead(const PageRecord& page, PhoneShown shown = PhoneShown::Published);
