#pragma once

#include <optional>
#include <string>

struct PageRecord;

// recovery.qlr holds the page record as text: the line "QUILLORA RECOVERY 1", then for each
// value its name, a blank and its length in bytes on one line, the bytes and a line end; each
// list is a name, a blank and its number of entries on one line, then its entries the same way.
inline constexpr const char* kRecoveryFile = "recovery.qlr";

std::string RecoveryText(const PageRecord& page);
// The record the text holds; nothing when it is cut short or not a recovery text.
std::optional<PageRecord> ParseRecovery(const std::string& text);
