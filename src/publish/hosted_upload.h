#pragma once

#include <ostream>

#include "publish/site_upload.h"

class SqliteDatabase;

// Sending a site where static sites are hosted today: a Git branch (the target's git address)
// or an S3-compatible bucket (its s3 target). The pages and the pictures they use go; the files
// this program put there before and puts there no more, and the pages deleted from the site,
// are removed; anything else there is someone else's and stays. Exit status as UploadSite's.
int UploadToGitBranch(const SitePages& site, const UploadTarget& target, SqliteDatabase& db,
                      const UploadOptions& options, std::ostream& err);
int UploadToBucket(const SitePages& site, const UploadTarget& target, SqliteDatabase& db,
                   const UploadOptions& options, std::ostream& err);
