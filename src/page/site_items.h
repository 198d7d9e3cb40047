#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "page/page_record.h"

// Items a site shares with every page of its folder (a header, a menu, a footer) are stored
// once, in a record of the folder named kSiteItemsFile that is never a page. Their ids carry
// an "S" after the usual prefix ("pagetextitemS3~", "pageimageitemS3~") and are counted by
// that record, so they never meet a page's own ids, which are digits after the prefix. While
// a page is open they are merged into its record, so every operation (select, move, edit,
// copy, delete, undo) treats them as the page's own; saving splits them out again.
inline constexpr const char* kSiteItemsFile = ".siteitems";

// Whether an item's name or record id (with or without the "d" of a picture's box) is a site
// item's.
bool IsSiteItemId(std::string_view id);

// The site record's items appended to the page's, and the page marked as showing them. Phone
// choices the page holds for a shared item stay the page's own.
void MergeSiteItems(PageRecord& page, const PageRecord& site);

// The site items taken out of the page into a record of their own (named kSiteItemsFile in
// the page's folder, counting on from the page's site counter). The page's phone choices stay
// with the page: they shape that page's phone column only.
PageRecord SplitSiteItems(PageRecord& page);

// The site record with the changed items in place of its items of the same ids, the others
// kept: what a page that did not show the site's items (or a recovered design) adds to it.
void UpdateSiteItems(PageRecord& site, const PageRecord& changed);
// The record without the items of those ids (sections and pictures, with everything of them).
void RemoveSiteItems(PageRecord& site, const std::vector<std::string>& ids);
// The ids of the record's sections and pictures ("pagetextitemS1~").
std::vector<std::string> SiteItemIds(const PageRecord& site);

// Whether two records hold the same items, placed alike.
bool SameItems(const PageRecord& a, const PageRecord& b);

// Whether the page's layout places any shared item (shown, or made shared there).
bool PlacesSiteItems(const PageRecord& page);

// Whether the record holds any item at all.
bool HoldsItems(const PageRecord& record);

// The page's item of that name (a section's id or a picture's name) made a site item, or a
// site item made the page's own, under a fresh id; the new name, or empty when there is no
// such item.
std::string MakeSiteItem(PageRecord& page, const std::string& name);
std::string MakePageItem(PageRecord& page, const std::string& name);
