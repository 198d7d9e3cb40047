#pragma once

#include <ostream>
#include <string>
#include <vector>

// quillora-publish: writes the finished pages of a site folder from their stored designs, as
// the designer's save does, without touching the page store.
//   quillora-publish [--workdir DIR] SITE_FOLDER [PAGE ...]
// Exit status: 0 every page written, 1 some were not, 2 usage or database error.
int RunBatchPublish(const std::vector<std::string>& arguments,
                    const std::string& defaultWorkingFolder, std::ostream& out, std::ostream& err);
