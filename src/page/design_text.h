#pragma once

#include <optional>
#include <string>

struct PageRecord;

// A page record as text, for the recovery file and the kept versions of a page: the line
// "QUILLORA RECOVERY 1", then for each value its name, a blank and its length in bytes on one
// line, the bytes and a line end; each list is a name, a blank and its number of entries on one
// line, then its entries the same way.
std::string DesignText(const PageRecord& page);
// The record the text holds; nothing when it is cut short or not such a text.
std::optional<PageRecord> ParseDesignText(const std::string& text);
