#pragma once

#include <string>
#include <vector>

#include "page/page_record.h"

// Every item of a page has one id. A section's words carry its id in their own ids
// ("<SPAN id='pagetextitem1~4'"), and the item walk finds an entry by the ids it holds: so a
// copied entry must carry its new id, and a page must never list one id twice.

// The next text id no section of the page has, counted on from its element count (which it
// advances): a design whose count fell behind its sections never gets an id twice.
std::string FreeTextId(PageRecord& page);

// A section's entry (id followed by its HTML) moved to the new id, inner ids included.
std::string EntryUnderId(const std::string& entry, const std::string& oldId,
                         const std::string& newId);

// Layout records joined with "|" between them.
std::string JoinRecords(const std::vector<std::string>& records);

// The layout with each id's first record only.
std::string LayoutWithEachIdOnce(const std::string& layout);

// Whether the page lists an id twice: in its layout, its sections or its pictures.
bool HasRepeatedItems(const PageRecord& page);
// Keeps each id's first record and first entry (with the entries that run parallel to it).
void KeepEachItemOnce(PageRecord& page);
