#pragma once

#include <string_view>
#include <unordered_map>

#include "page/page_record.h"

// How tall a browser lays out a text section that has no height of its own, guessed from what
// it holds: its words wrapped at the width it has, in lines of its largest font, plus its
// padding and border. The editor page gives sections no stored height, and an honest guess
// keeps side-by-side items in one row when the phone layout reads the page.
//
// html is the section's content, style its record's style, and room the width it may take
// when the style gives it none (from its left edge to the container's right edge).
double EstimatedTextHeight(std::string_view html, std::string_view style, double room);

// The sections' contents by id ("pagetextitem3~" and its HTML), as views into the page's texts.
std::unordered_map<std::string_view, std::string_view> SectionsById(const PageRecord& page);
