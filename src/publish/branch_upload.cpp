#include "publish/branch_upload.h"

#include <algorithm>
#include <set>
#include <sstream>

#include "common/paths.h"
#include "files/sent_record.h"
#include "platform/console_prompts.h"
#include "site/upload_files.h"
#include "store/page_store.h"
#include "transfer/git_branch.h"

int UploadToGitBranch(const SitePages& site, const UploadTarget& target, SqliteDatabase& db,
                      const UploadOptions& options, std::ostream& err) {
    GitBranchTarget branch{*target.git, target.branch};
    std::vector<std::string> pages;
    for (const PageRecord& page : site.pages) {
        pages.push_back(page.fileName);
    }
    GitPublishFiles files{site.siteFolder, FilesToSend(site.siteFolder, pages), {}};
    // What this program put on the branch before and puts there no more goes; so do the pages
    // deleted from the site. Anything else on the branch is someone else's and stays.
    SentRecord record(site.workingFolder, "git|" + branch.url + "|" + branch.branch);
    const std::set<std::string> current(files.files.begin(), files.files.end());
    for (const std::string& name : record.names()) {
        if (current.count(name) == 0) {
            files.removed.push_back(name);
        }
    }
    std::ostringstream ignored;
    ConsolePrompts prompts(ignored);
    for (const auto& [name, when] : PageStore(db, prompts).deletedPages(site.siteFolder)) {
        if (current.count(name) == 0 &&
            std::find(files.removed.begin(), files.removed.end(), name) == files.removed.end()) {
            files.removed.push_back(name);
        }
    }
    GitPublishOptions gitOptions;
    gitOptions.dryRun = options.dryRun;
    gitOptions.trustedHostKey = options.trustedHostKey;
    gitOptions.vault = options.vault;
    gitOptions.stop = options.stop;
    const GitPublishReport report =
        PublishToGitBranch(site.workingFolder, branch, files, gitOptions, err);
    if (report.status != 0 || options.dryRun) {
        return report.status;
    }
    for (const std::string& name : report.changed) {
        record.sent(name, JoinPath(site.siteFolder, name));
    }
    // A file the branch held already as it is now was put there by this program all the same.
    for (const std::string& name : files.files) {
        if (std::find(report.changed.begin(), report.changed.end(), name) == report.changed.end() &&
            !record.removedAt(name) &&
            std::find(record.names().begin(), record.names().end(), name) == record.names().end()) {
            record.sent(name, JoinPath(site.siteFolder, name));
        }
    }
    for (const std::string& name : files.removed) {
        record.removed(name);
    }
    err << report.changed.size() << " files committed, " << report.removed.size() << " removed\n";
    return 0;
}
