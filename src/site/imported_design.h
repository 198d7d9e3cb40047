#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "page/page_record.h"
#include "platform/site_options.h"

// A design from a site file is someone else's: it is rebuilt field by field in the form this
// program writes, and whatever does not parse refuses the file. The pages that show it, the
// editor page among them, then never meet markup or script the program would not have written.

// Whether the name is a plain file name: not empty, no separator, not "." or "..", no leading
// dot, no control character.
bool IsPlainFileName(std::string_view name);

// The design rebuilt in place: numbers for widths and lengths, colours as "#RRGGBB" or a plain
// colour name, the container from the program's own template, each layout record parsed and
// written again, each section's words through the typed-markup allow-list, every background a
// plain name and every link an address a page may hold. Nothing when it is whole; otherwise
// what was refused, in words for the user ("the page width \"1;alert(1)\"").
std::optional<std::string> RebuildDesign(PageRecord& page);

// The site options checked: the site address must be an http or https address with nothing a
// page would read as markup. What was refused, or nothing.
std::optional<std::string> CheckSiteOptions(const SiteOptions& options);

// The shared record's items given the shared id form ("pagetextitemS3~") where a file gave them
// a page's: a page's item of the same id would otherwise show twice on every page.
void GiveSharedIds(PageRecord& shared);

// A page read with the folder's shared items merged in loses those whose ids were of a page's
// form (a file's shared record may give them such ids): they are shared, and shown from there.
void DropMergedPageFormItems(PageRecord& page);
