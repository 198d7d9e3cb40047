#pragma once

#include <atomic>
#include <map>
#include <ostream>
#include <string>
#include <vector>

class PasswordVault;

// A branch of a Git repository that serves a site (gh-pages, pages): each publish that changes
// something is one commit on top of the branch as the remote has it, pushed without force.
struct GitBranchTarget {
    // file://, ssh://, https:// or user@host:path.
    std::string url;
    std::string branch = "gh-pages";
};

struct GitPublishOptions {
    bool dryRun = false;
    // The SHA-256 fingerprint of an SSH host key to trust although known_hosts does not hold it.
    std::string trustedHostKey;
    // For https: a token from QUILLORA_GIT_TOKEN, else from the keyring (the vault may be none).
    PasswordVault* vault = nullptr;
    const std::atomic<bool>* stop = nullptr;
};

// What the publish must do: the site folder's files (names relative to it), and the names the
// branch must lose (pages deleted, files this program wrote before and writes no more).
struct GitPublishFiles {
    std::string siteFolder;
    std::vector<std::string> files;
    std::vector<std::string> removed;
    // The content hash each removed name had when this program sent it: a file the branch holds
    // otherwise (someone changed it or put it back) stays.
    std::map<std::string, std::string> sentHashes;
};

struct GitPublishReport {
    // 0 done (or nothing to do), 2 not reached, refused or failed: the branch is as it was.
    int status = 0;
    bool committed = false;
    std::vector<std::string> changed;
    std::vector<std::string> removed;
    // Names to remove that the branch holds otherwise than they were sent: left there, and
    // no longer this program's.
    std::vector<std::string> kept;
};

// Fetches the branch into the working folder's cache of the repository, makes the commit the
// files call for on top of it (files this program did not write, such as CNAME, stay), and
// pushes it; a branch moved meanwhile is fetched again and the commit made anew on top. Progress
// and every failure go to err.
GitPublishReport PublishToGitBranch(const std::string& workingFolder, const GitBranchTarget& target,
                                    const GitPublishFiles& files, const GitPublishOptions& options,
                                    std::ostream& err);
