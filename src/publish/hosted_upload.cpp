#include "publish/hosted_upload.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>

#include "common/paths.h"
#include "files/sent_record.h"
#include "platform/console_prompts.h"
#include "site/upload_files.h"
#include "store/page_store.h"
#include "transfer/git_branch.h"
#include "transfer/s3_bucket.h"

namespace {

// The site's files for the target, and the names it must lose: those this program sent there
// before (its record) that are gone from the site folder, and the pages deleted from the site.
struct OwnFiles {
    std::vector<std::string> files;
    std::vector<std::string> removed;
};

OwnFiles FilesFor(const SitePages& site, SentRecord& record, SqliteDatabase& db) {
    OwnFiles own;
    std::vector<std::string> pages;
    for (const PageRecord& page : site.pages) {
        pages.push_back(page.fileName);
    }
    own.files = FilesToSend(site.siteFolder, pages, site.languages);
    const std::set<std::string> current(own.files.begin(), own.files.end());
    // A file still in the site folder stays there too: only some pages may have been named.
    for (const std::string& name : record.names()) {
        std::error_code error;
        if (current.count(name) == 0 &&
            !std::filesystem::exists(JoinPath(site.siteFolder, name), error)) {
            own.removed.push_back(name);
        }
    }
    std::ostringstream ignored;
    ConsolePrompts prompts(ignored);
    for (const std::string& name :
         PagesToRemove(PageStore(db, prompts).deleted().pages(site.siteFolder), record)) {
        if (current.count(name) == 0 &&
            std::find(own.removed.begin(), own.removed.end(), name) == own.removed.end()) {
            own.removed.push_back(name);
        }
    }
    return own;
}

// What was sent under each name, as the record holds it.
std::map<std::string, std::string> SentHashes(const SentRecord& record,
                                              const std::vector<std::string>& names) {
    std::map<std::string, std::string> hashes;
    for (const std::string& name : names) {
        hashes[name] = record.sentHash(name).value_or(std::string());
    }
    return hashes;
}

// The target holds these files as this program sent them, and has lost those.
void Remember(SentRecord& record, const SitePages& site, const std::vector<std::string>& held,
              const std::vector<std::string>& removed) {
    const std::vector<std::string> known = record.names();
    for (const std::string& name : held) {
        if (std::find(known.begin(), known.end(), name) == known.end()) {
            record.sent(name, JoinPath(site.siteFolder, name));
        }
    }
    for (const std::string& name : removed) {
        record.removed(name);
    }
}

}  // namespace

int UploadToGitBranch(const SitePages& site, const UploadTarget& target, SqliteDatabase& db,
                      const UploadOptions& options, std::ostream& err) {
    const GitBranchTarget branch{*target.git, target.branch};
    SentRecord record(site.workingFolder, "git|" + branch.url + "|" + branch.branch);
    const OwnFiles own = FilesFor(site, record, db);
    GitPublishOptions gitOptions;
    gitOptions.dryRun = options.dryRun;
    gitOptions.trustedHostKey = options.trustedHostKey;
    gitOptions.vault = options.vault;
    gitOptions.stop = options.stop;
    const GitPublishFiles files{site.siteFolder, own.files, own.removed,
                                SentHashes(record, own.removed)};
    const GitPublishReport report =
        PublishToGitBranch(site.workingFolder, branch, files, gitOptions, err);
    if (report.status != 0 || options.dryRun) {
        return report.status;
    }
    Remember(record, site, own.files, own.removed);
    err << report.changed.size() << " files committed, " << report.removed.size() << " removed\n";
    return 0;
}

int UploadToBucket(const SitePages& site, const UploadTarget& target, SqliteDatabase& db,
                   const UploadOptions& options, std::ostream& err) {
    const S3Target& bucket = *target.bucket;
    SentRecord record(site.workingFolder, "s3|" + bucket.endpoint + "|" + bucket.region + "|" +
                                              bucket.bucket + "|" + bucket.prefix);
    const OwnFiles own = FilesFor(site, record, db);
    S3PublishOptions s3Options;
    s3Options.dryRun = options.dryRun;
    s3Options.force = options.force;
    s3Options.vault = options.vault;
    s3Options.stop = options.stop;
    const S3PublishReport report = PublishToS3(
        bucket, {site.siteFolder, own.files, own.removed, SentHashes(record, own.removed)},
        s3Options, err);
    if (options.dryRun || report.status == 2) {
        return report.status;
    }
    std::vector<std::string> forgotten = report.deleted;
    forgotten.insert(forgotten.end(), report.kept.begin(), report.kept.end());
    Remember(record, site, report.status == 0 ? own.files : report.sent, forgotten);
    return report.status;
}
