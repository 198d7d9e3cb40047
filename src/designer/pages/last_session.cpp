#include "designer/pages/last_session.h"

#include "common/fields.h"
#include "common/paths.h"
#include "common/text_file.h"
#include "page/working_files.h"

namespace {

constexpr const char* kLastSessionFile = "lastsession.qlp";

}  // namespace

LastSession ReadLastSession(const std::string& workingFolder) {
    LastSession last{JoinPath(workingFolder, kDefaultSiteFolder), kQuickstartPage};
    const auto lines = ReadTextLines(JoinPath(workingFolder, kLastSessionFile));
    if (lines && !lines->empty() && !lines->front().empty()) {
        last.folder = FieldAt(lines->front(), 0, "|");
        last.page = FieldAt(lines->front(), 1, "|");
    }
    return last;
}

void WriteLastSession(const std::string& workingFolder, const std::string& folder,
                      const std::string& page) {
    WriteTextFile(JoinPath(workingFolder, kLastSessionFile), folder + "|" + page);
}
