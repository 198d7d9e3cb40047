#pragma once

#include <optional>
#include <string>

#include "page/page_record.h"
#include "site/site_archive.h"

// A section of the library: items kept under a name to be added to any page, in a file of the
// site file's form that holds one design, "section.html", with the pictures it shows. Its items
// carry page ids, stand from the corner of their box, and keep their words in every language
// and their phone choices.
inline constexpr const char* kSectionFileExtension = ".qsection";

// Writes the section into the file, which is replaced whole or not at all.
SiteArchiveResult WriteSectionFile(const PageRecord& section, const std::string& workingFolder,
                                   const std::string& file);

// The section the file holds, read under the import's checks, its pictures brought into the
// working folder; nothing, with the reason, for a file that is no section.
std::optional<PageRecord> ReadSectionFile(const std::string& file, const std::string& workingFolder,
                                          std::string& refusal);
