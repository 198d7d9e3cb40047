#pragma once

#include <ostream>
#include <string>

// quillora-publish --export-site and --import-site. Exit status: 0 done, 1 the site came in
// but some pages were not written (named), 2 refused (a damaged or foreign file, a folder that
// has pages without --force, a page store that cannot be opened).
int ExportSiteCommand(const std::string& workingFolder, const std::string& siteFolder,
                      const std::string& file, std::ostream& out, std::ostream& err);
// Takes the working folder's lock first unless told the caller holds it.
int ImportSiteCommand(const std::string& workingFolder, const std::string& file,
                      const std::string& siteFolder, bool force, std::ostream& out,
                      std::ostream& err, bool takeLock = true);
