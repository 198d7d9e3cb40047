#pragma once

#include <functional>
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

// A page's label in a menu until the user gives it one: its title, or its file name while
// the title is none or the one every new page has.
std::string MenuLabel(const std::string& file, const std::string& title);

// A new menu of every page of the folder, under their labels.
SiteMenu MenuOfPages(const FolderPages& pages);

// The menu as the page named current shows it: a <nav> of a list of links, the current page
// marked (aria-current and its own colour, underlined); pages no longer in the folder and
// pages the user left out not shown; on screens narrower than 600 pixels one column of links
// 48 pixels high.
std::string SiteMenuMarkup(const SiteMenu& menu, const std::string& current,
                           const FolderPages& pages);

// The menu with its entries for oldName leading to newName; false when it had none.
bool RenameInMenu(SiteMenu& menu, const std::string& oldName, const std::string& newName);

// The page's entries labelled by default (from its old title) take the label of its new
// title; labels the user wrote stay. False when none changed.
bool RetitleInMenu(SiteMenu& menu, const std::string& file, const std::string& oldTitle,
                   const std::string& newTitle);

// The menu without the page's entries, shown or left out; false when it had none.
bool RemoveFromMenu(SiteMenu& menu, const std::string& file);
// Whether the menu lists the page, shown or left out.
bool MenuNames(const SiteMenu& menu, const std::string& file);

// Whether the menu shows the page while it is in the folder: it lists it, or it takes pages
// that joined later and the user did not leave this one out.
bool MenuShows(const SiteMenu& menu, const std::string& file);
// Whether any site menu of the page shows the file or names it (shown or left out): a rename or
// delete of that file changes the page.
bool MenusReach(const PageRecord& page, const std::string& file);

// Where the site menus of a record (a page, or the folder's shared items) have the file: a line
// for each menu that names it, "RECORD\tMENU\tPOSITION\tLABEL" or "RECORD\tMENU\tLEFTOUT",
// MENU counting the record's menus from 0. Empty when none names it.
std::string MenuPlacesOf(const PageRecord& record, const std::string& recordName,
                         const std::string& file);
// The file back in the record's menus where the places say (a place past the end is the end);
// menus that name it already are left alone. False when none changed.
bool PutBackInMenus(PageRecord& record, const std::string& recordName, const std::string& file,
                    const std::string& places);
// The records the places name, each once.
std::vector<std::string> RecordsOfMenuPlaces(const std::string& places);

// Every site menu of the page handed to the change, and written again where it says it
// changed the menu; false when none changed.
bool ChangeSiteMenus(PageRecord& page, const std::function<bool(SiteMenu&)>& change);
// Every site menu of the page retitled so; false when none changed.
bool RetitleInMenus(PageRecord& page, const std::string& file, const std::string& oldTitle,
                    const std::string& newTitle);
