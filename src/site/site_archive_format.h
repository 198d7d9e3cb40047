#pragma once

#include <cstddef>
#include <string>

#include "page/page_record.h"

class SqliteDatabase;

// What the export, the check and the import of a site file share: the file's marks, its own
// tables, and how a record is kept in a folder. The format is described in docs/site-export.md.

// "QSIT": what tells an exported site from any other SQLite file.
inline constexpr int kSiteFileApplicationId = 0x51534954;
inline constexpr const char* kSiteFileFormat = "quillora-site";
inline constexpr int kSiteFileVersion = 1;
inline constexpr const char* kSiteFileTables =
    "CREATE TABLE siteexport (NAME TEXT PRIMARY KEY, VALUE TEXT);"
    "CREATE TABLE sitefiles (ID INTEGER PRIMARY KEY, KIND TEXT, ORIGINAL TEXT, NAME TEXT, "
    "HASH TEXT, DATA BLOB);"
    "CREATE TABLE sitecopies (COPY TEXT, ORIGINAL TEXT);";
inline constexpr const char* kSiteFilePicture = "picture";
inline constexpr const char* kSiteFileBackground = "background";
// A font file of the working folder's own that a section shows: it travels with the site.
inline constexpr const char* kSiteFileFont = "font";

// The record as the folder keeps it: its own items, under its folder and name.
void AsStored(PageRecord& page, const std::string& folder, const std::string& name);

// "1 page", "3 pages".
std::string Counted(std::size_t count, const char* one, const char* many);
