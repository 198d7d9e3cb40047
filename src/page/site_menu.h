#pragma once

#include <optional>
#include <string>

#include "page/page_record.h"
#include "platform/site_menu_choices.h"

// Whether a section's rich text is a menu's definition.
bool IsSiteMenu(const std::string& richText);
// Whether any section of the page is a site menu.
bool HoldsSiteMenu(const PageRecord& page);
std::optional<SiteMenu> ReadSiteMenu(const std::string& richText);
std::string WriteSiteMenu(const SiteMenu& menu);

// A new menu of every page of the folder, under their titles.
SiteMenu MenuOfPages(const FolderPages& pages);

// The menu as the page named current shows it: a <nav> of a list of links, the current page
// marked (aria-current and its own colour, underlined); pages no longer in the folder left
// out; on screens narrower than 600 pixels one column of links 48 pixels high.
std::string SiteMenuMarkup(const SiteMenu& menu, const std::string& current,
                           const FolderPages& pages);

// The menu with its entries for oldName leading to newName; false when it had none.
bool RenameInMenu(SiteMenu& menu, const std::string& oldName, const std::string& newName);
