#pragma once

#include <ostream>

#include "publish/site_upload.h"

class SqliteDatabase;

// Sends the site to a Git branch (the target's git address): the pages and the pictures they
// use committed and pushed; the files this program wrote there before and writes no more, and
// the pages deleted from the site, removed. Exit status as UploadSite's.
int UploadToGitBranch(const SitePages& site, const UploadTarget& target, SqliteDatabase& db,
                      const UploadOptions& options, std::ostream& err);
