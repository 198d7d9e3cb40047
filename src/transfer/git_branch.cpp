#include "transfer/git_branch.h"

#include <git2.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <optional>
#include <set>

#include "common/address_login.h"
#include "common/paths.h"
#include "common/text_case.h"
#include "common/text_search.h"
#include "files/content_hash.h"
#include "files/sent_record.h"
#include "platform/password_vault.h"
#include "transfer/known_hosts.h"

namespace {

constexpr int kDone = 0;
constexpr int kFailed = 2;
// A branch that moves again while each commit is made is given up after this many tries.
constexpr int kTries = 3;

// libgit2 is set up while a publish runs.
class GitLibrary {
  public:
    GitLibrary() { git_libgit2_init(); }
    ~GitLibrary() { git_libgit2_shutdown(); }
    GitLibrary(const GitLibrary&) = delete;
    GitLibrary& operator=(const GitLibrary&) = delete;
};

template <typename T, void (*Free)(T*)>
struct Freed {
    void operator()(T* object) const { Free(object); }
};
using Repository = std::unique_ptr<git_repository, Freed<git_repository, git_repository_free>>;
using Remote = std::unique_ptr<git_remote, Freed<git_remote, git_remote_free>>;
using Commit = std::unique_ptr<git_commit, Freed<git_commit, git_commit_free>>;
using Tree = std::unique_ptr<git_tree, Freed<git_tree, git_tree_free>>;
using Index = std::unique_ptr<git_index, Freed<git_index, git_index_free>>;
using Signature = std::unique_ptr<git_signature, Freed<git_signature, git_signature_free>>;

std::string LastError() {
    const git_error* error = git_error_last();
    return error != nullptr && error->message != nullptr ? error->message : "unknown error";
}

// The port an ssh:// address names, 22 when none (user@host:path names none).
long SshPortOf(const std::string& url) {
    if (!StartsWith(url, "ssh://")) {
        return 22;
    }
    std::string authority = url.substr(6, url.find('/', 6) - 6);
    authority = authority.substr(authority.rfind('@') + 1);
    const std::size_t colon = authority.rfind(':');
    // A colon inside brackets belongs to an IPv6 address.
    if (colon == std::string::npos || authority.find(']', colon) != std::string::npos) {
        return 22;
    }
    return std::atol(authority.c_str() + colon + 1);
}

// What the remote callbacks learn and need.
struct Connection {
    const GitBranchTarget* target = nullptr;
    const GitPublishOptions* options = nullptr;
    std::ostream* err = nullptr;
    int credentialTries = 0;
    bool credentialsRefused = false;
    std::string hostKeyProblem;
    std::string pushRefusal;
    bool tokenWithheld = false;
};

// A token goes only where no one on the way can read it: over https, or to this computer.
bool TokenMayGo(const char* url) {
    const std::string address = url != nullptr ? url : "";
    if (StartsWith(address, "https://")) {
        return true;
    }
    const std::size_t start = address.find("://");
    if (start == std::string::npos) {
        return false;
    }
    std::string host = address.substr(start + 3, address.find('/', start + 3) - start - 3);
    host = host.substr(host.rfind('@') + 1);
    return StartsWith(host, "127.0.0.1") || StartsWith(host, "localhost") ||
           StartsWith(host, "[::1]");
}

int Credentials(git_credential** out, const char* url, const char* userFromUrl,
                unsigned int allowed, void* payload) {
    auto& connection = *static_cast<Connection*>(payload);
    const int attempt = connection.credentialTries++;
    const std::string user = userFromUrl != nullptr ? userFromUrl : "git";
    if ((allowed & GIT_CREDENTIAL_SSH_KEY) != 0) {
        // The agent first, then the user's own keys, each once.
        std::vector<std::string> keys;
        for (const char* name : {"id_ed25519", "id_rsa"}) {
            const std::string key = JoinPath(SshFolder(), name);
            if (std::ifstream(key).good()) {
                keys.push_back(key);
            }
        }
        const bool agent = std::getenv("SSH_AUTH_SOCK") != nullptr;
        const int keyAttempt = attempt - (agent ? 1 : 0);
        if (agent && attempt == 0) {
            return git_credential_ssh_key_from_agent(out, user.c_str());
        }
        if (keyAttempt >= 0 && keyAttempt < static_cast<int>(keys.size())) {
            const std::string& key = keys[static_cast<std::size_t>(keyAttempt)];
            const std::string publicKey = key + ".pub";
            return git_credential_ssh_key_new(
                out, user.c_str(), std::ifstream(publicKey).good() ? publicKey.c_str() : nullptr,
                key.c_str(), "");
        }
    } else if ((allowed & GIT_CREDENTIAL_USERPASS_PLAINTEXT) != 0 && attempt == 0 &&
               !TokenMayGo(url)) {
        connection.tokenWithheld = true;
    } else if ((allowed & GIT_CREDENTIAL_USERPASS_PLAINTEXT) != 0 && attempt == 0) {
        std::string token;
        if (const char* fromEnvironment = std::getenv("QUILLORA_GIT_TOKEN")) {
            token = fromEnvironment;
        } else if (connection.options->vault != nullptr) {
            token = connection.options->vault->read(GitTokenKeyringName(url)).value_or("");
        }
        if (!token.empty()) {
            return git_credential_userpass_plaintext_new(
                out, userFromUrl != nullptr ? userFromUrl : "x-access-token", token.c_str());
        }
    }
    connection.credentialsRefused = true;
    git_error_set_str(GIT_ERROR_NET, "no credentials left to try");
    return GIT_EUSER;
}

int CheckCertificate(git_cert* certificate, int valid, const char* host, void* payload) {
    auto& connection = *static_cast<Connection*>(payload);
    if (certificate->cert_type != GIT_CERT_HOSTKEY_LIBSSH2) {
        return valid != 0 ? 0 : GIT_ECERTIFICATE;
    }
    const auto* hostKey = reinterpret_cast<const git_cert_hostkey*>(certificate);
    if ((hostKey->type & GIT_CERT_SSH_RAW) == 0) {
        connection.hostKeyProblem = "the server's host key could not be read";
        return GIT_ECERTIFICATE;
    }
    const SshHostKey key{std::string(hostKey->hostkey, hostKey->hostkey_len)};
    const long port = SshPortOf(connection.target->url);
    const std::string knownHosts = KnownHostsPath();
    if (KnownHostsHolds(knownHosts, host, port, key)) {
        return 0;
    }
    const std::string& trusted = connection.options->trustedHostKey;
    if (!trusted.empty() &&
        (trusted == key.fingerprint() || "SHA256:" + trusted == key.fingerprint())) {
        AddKnownHost(knownHosts, KnownHostsLine(host, port, key));
        *connection.err << "trusting the host key of " << host << " (" << key.fingerprint()
                        << ") as --trust-host-key says; it is added to " << knownHosts << "\n";
        return 0;
    }
    if (!trusted.empty()) {
        connection.hostKeyProblem = std::string("the host key of ") + host + " is " +
                                    key.fingerprint() + ", not the one --trust-host-key names (" +
                                    trusted + ")";
        return GIT_ECERTIFICATE;
    }
    connection.hostKeyProblem =
        std::string("the host key of ") + host +
        (KnownHostsName(knownHosts, host, port) ? " differs from the one known_hosts holds"
                                                : " is not in known_hosts") +
        "; its SHA-256 fingerprint is " + key.fingerprint() +
        "\nif that is your server's, run again with --trust-host-key " + key.fingerprint();
    return GIT_ECERTIFICATE;
}

int PushUpdate(const char* reference, const char* status, void* payload) {
    if (status != nullptr) {
        static_cast<Connection*>(payload)->pushRefusal = std::string(reference) + ": " + status;
    }
    return 0;
}

// Each connection to the remote tries every way to log in afresh.
git_remote_callbacks Callbacks(Connection& connection) {
    connection.credentialTries = 0;
    connection.credentialsRefused = false;
    connection.hostKeyProblem.clear();
    connection.tokenWithheld = false;
    git_remote_callbacks callbacks = GIT_REMOTE_CALLBACKS_INIT;
    callbacks.credentials = Credentials;
    callbacks.certificate_check = CheckCertificate;
    callbacks.push_update_reference = PushUpdate;
    callbacks.payload = &connection;
    return callbacks;
}

// Why talking to the remote failed, as the user can act on it.
std::string RemoteFailure(const Connection& connection, const std::string& what) {
    if (!connection.hostKeyProblem.empty()) {
        return connection.hostKeyProblem;
    }
    if (connection.tokenWithheld) {
        return "a token is sent only over https, and " +
               WithoutLogin(connection.target->url, connection.target->url) + " is not";
    }
    if (connection.credentialsRefused) {
        return "cannot log in to " + WithoutLogin(connection.target->url, connection.target->url) +
               ": the key or token was refused, or none was found (the SSH agent, "
               "~/.ssh/id_ed25519 or id_rsa; QUILLORA_GIT_TOKEN or the keyring for https)";
    }
    const std::string& url = connection.target->url;
    return what + " " + WithoutLogin(url, url) + " failed: " + WithoutLogin(LastError(), url);
}

// The branch as the remote has it, fetched into the cache; nothing when the remote has none.
bool Fetch(git_remote* remote, Connection& connection, const std::string& branch) {
    git_fetch_options options = GIT_FETCH_OPTIONS_INIT;
    options.callbacks = Callbacks(connection);
    options.prune = GIT_FETCH_PRUNE;
    std::string spec = "+refs/heads/" + branch + ":refs/remotes/origin/" + branch;
    char* specs[] = {spec.data()};
    const git_strarray refspecs = {specs, 1};
    return git_remote_fetch(remote, &refspecs, &options, "quillora fetch") == 0;
}

std::optional<git_oid> RemoteHead(git_repository* repository, const std::string& branch) {
    git_oid head;
    if (git_reference_name_to_id(&head, repository, ("refs/remotes/origin/" + branch).c_str()) !=
        0) {
        return std::nullopt;
    }
    return head;
}

// What a tree walk looks for: an entry no branch of a site may hold.
struct TreeCheck {
    const std::set<std::string>* written = nullptr;
    std::string found;
};

int CheckEntry(const char* root, const git_tree_entry* entry, void* payload) {
    auto& check = *static_cast<TreeCheck*>(payload);
    const std::string name = git_tree_entry_name(entry);
    const std::string path = std::string(root) + name;
    const std::string lower = LowerCase(name);
    if (lower == ".git" || lower == "git~1" || name == ".." || name == "." ||
        name.find_first_of("/\\") != std::string::npos) {
        check.found = "an entry named \"" + path + "\"";
        return -1;
    }
    if (git_tree_entry_filemode(entry) == GIT_FILEMODE_LINK && check.written->count(path) != 0) {
        check.found = "a symbolic link where " + path + " goes";
        return -1;
    }
    return 0;
}

// The first entry of the branch's tree that makes it no site to publish onto; empty when none.
std::string HostileEntry(const git_tree* tree, const std::vector<std::string>& written) {
    const std::set<std::string> names(written.begin(), written.end());
    TreeCheck check{&names, std::string()};
    git_tree_walk(tree, GIT_TREEWALK_PRE, CheckEntry, &check);
    return check.found;
}

// Whether the branch holds the file as this program sent it: its content hash is the one
// recorded. A file someone changed or put back since is theirs.
bool BlobHoldsAsSent(git_repository* repository, const git_index_entry& entry,
                     const std::string& sentHash) {
    git_blob* found = nullptr;
    if (sentHash.empty() || git_blob_lookup(&found, repository, &entry.id) != 0) {
        return false;
    }
    const std::unique_ptr<git_blob, Freed<git_blob, git_blob_free>> blob(found);
    const std::string content(static_cast<const char*>(git_blob_rawcontent(blob.get())),
                              static_cast<std::size_t>(git_blob_rawsize(blob.get())));
    return HoldsAsSent(content, sentHash);
}

// The commit message: the pages the publish changes or removes by name.
std::string Message(const std::vector<std::string>& changed,
                    const std::vector<std::string>& removed) {
    std::vector<std::string> pages;
    for (const auto* list : {&changed, &removed}) {
        for (const std::string& name : *list) {
            if (name.size() > 5 && name.compare(name.size() - 5, 5, ".html") == 0) {
                pages.push_back(name);
            }
        }
    }
    std::string message = "Publish ";
    if (pages.empty()) {
        message += "pictures and site files";
    }
    for (std::size_t i = 0; i < pages.size(); ++i) {
        message += (i == 0 ? "" : ", ") + pages[i];
    }
    message += "\n\n" + std::to_string(changed.size()) + " files added or changed, " +
               std::to_string(removed.size()) + " removed, by Quillora.\n";
    return message;
}

// The branch's tree read into the index: nothing to read for a branch the remote lacks; false,
// told, when it cannot be read or holds what no site's branch holds.
bool ReadBranch(git_repository* repository, const std::optional<git_oid>& head,
                const GitBranchTarget& target, const GitPublishFiles& files, git_index* index,
                Commit& parent, std::ostream& err) {
    if (!head) {
        return true;
    }
    git_commit* found = nullptr;
    git_tree* tree = nullptr;
    if (git_commit_lookup(&found, repository, &*head) != 0 ||
        (parent.reset(found), git_commit_tree(&tree, found)) != 0) {
        err << "cannot read the branch " << target.branch << ": " << LastError() << "\n";
        return false;
    }
    const Tree parentTree(tree);
    const std::string hostile = HostileEntry(tree, files.files);
    if (!hostile.empty()) {
        err << "the branch " << target.branch << " holds " << hostile
            << ", which no site's branch holds; nothing was pushed\n";
        return false;
    }
    if (git_index_read_tree(index, tree) != 0) {
        err << "cannot read the branch " << target.branch << ": " << LastError()
            << "; nothing was pushed\n";
        return false;
    }
    return true;
}

// The site's files put into the index where the branch holds them otherwise, and the removed
// ones taken out where the branch holds them as sent; the report names both. False, told, on a
// failure.
bool ChangeIndex(git_repository* repository, git_index* index, const GitPublishFiles& files,
                 GitPublishReport& report, std::ostream& err) {
    report.changed.clear();
    report.removed.clear();
    report.kept.clear();
    for (const std::string& name : files.files) {
        git_oid blob;
        const std::string path = JoinPath(files.siteFolder, name);
        if (git_blob_create_from_disk(&blob, repository, path.c_str()) != 0) {
            err << "cannot read " << path << ": " << LastError() << "\n";
            return false;
        }
        const git_index_entry* held = git_index_get_bypath(index, name.c_str(), 0);
        if (held != nullptr && git_oid_equal(&held->id, &blob) != 0) {
            continue;
        }
        git_index_entry entry{};
        entry.mode = GIT_FILEMODE_BLOB;
        entry.id = blob;
        entry.path = name.c_str();
        if (git_index_add(index, &entry) != 0) {
            err << "cannot add " << name << ": " << LastError() << "\n";
            return false;
        }
        report.changed.push_back(name);
    }
    for (const std::string& name : files.removed) {
        const git_index_entry* held = git_index_get_bypath(index, name.c_str(), 0);
        if (held == nullptr) {
            continue;
        }
        const auto sent = files.sentHashes.find(name);
        if (!BlobHoldsAsSent(repository, *held,
                             sent == files.sentHashes.end() ? std::string() : sent->second)) {
            report.kept.push_back(name);
            err << name << " on the branch is not what this program sent there, so it stays\n";
            continue;
        }
        if (git_index_remove(index, name.c_str(), 0) != 0) {
            err << "cannot remove " << name << ": " << LastError() << "\n";
            return false;
        }
        report.removed.push_back(name);
    }
    return true;
}

// The commit of the index on top of the parent, with the local branch pointed at it; nothing,
// told, on a failure.
std::optional<git_oid> MakeCommit(git_repository* repository, git_index* index,
                                  const Commit& parent, const GitPublishReport& report,
                                  const std::string& local, std::ostream& err) {
    git_oid treeId;
    git_tree* tree = nullptr;
    if (git_index_write_tree_to(&treeId, index, repository) != 0 ||
        git_tree_lookup(&tree, repository, &treeId) != 0) {
        err << "cannot make the commit: " << LastError() << "\n";
        return std::nullopt;
    }
    const Tree newTree(tree);
    git_signature* signed_ = nullptr;
    if (git_signature_now(&signed_, "Quillora", "quillora@localhost") != 0) {
        err << "cannot sign the commit: " << LastError() << "\n";
        return std::nullopt;
    }
    const Signature signature(signed_);
    const git_commit* parents[] = {parent.get()};
    git_oid commit;
    const std::string message = Message(report.changed, report.removed);
    if (git_commit_create(&commit, repository, nullptr, signature.get(), signature.get(), "UTF-8",
                          message.c_str(), newTree.get(), parent ? 1 : 0,
                          parent ? parents : nullptr) != 0) {
        err << "cannot make the commit: " << LastError() << "\n";
        return std::nullopt;
    }
    git_reference* reference = nullptr;
    if (git_reference_create(&reference, repository, local.c_str(), &commit, 1,
                             "quillora publish") != 0) {
        err << "cannot make the commit: " << LastError() << "\n";
        return std::nullopt;
    }
    git_reference_free(reference);
    return commit;
}

// The local branch pushed over the remote's, never forced; false, told, when it did not go.
bool Push(git_remote* remote, Connection& connection, const std::string& local, std::ostream& err) {
    git_push_options push = GIT_PUSH_OPTIONS_INIT;
    push.callbacks = Callbacks(connection);
    std::string spec = local + ":" + local;
    char* specs[] = {spec.data()};
    const git_strarray refspecs = {specs, 1};
    connection.pushRefusal.clear();
    if (git_remote_push(remote, &refspecs, &push) != 0) {
        err << RemoteFailure(connection, "pushing to") << "\n";
        return false;
    }
    if (!connection.pushRefusal.empty()) {
        err << "the server refused the push (" << connection.pushRefusal
            << "): the branch is as it was\n";
        return false;
    }
    return true;
}

}  // namespace

GitPublishReport PublishToGitBranch(const std::string& workingFolder, const GitBranchTarget& target,
                                    const GitPublishFiles& files, const GitPublishOptions& options,
                                    std::ostream& err) {
    GitLibrary library;
    GitPublishReport report;
    report.status = kFailed;
    // One bare repository per remote and branch caches what was fetched.
    const std::string cache =
        JoinPath(JoinPath(workingFolder, "gitcache"),
                 ContentHashOfText(target.url + "|" + target.branch).substr(0, 16) + ".git");
    git_repository* opened = nullptr;
    if (git_repository_open_bare(&opened, cache.c_str()) != 0 &&
        git_repository_init(&opened, cache.c_str(), 1) != 0) {
        err << "cannot make the repository cache " << cache << ": " << LastError() << "\n";
        return report;
    }
    const Repository repository(opened);
    git_remote* made = nullptr;
    if (git_remote_create_anonymous(&made, repository.get(), target.url.c_str()) != 0) {
        err << "not a repository address: " << WithoutLogin(target.url, target.url) << ": "
            << WithoutLogin(LastError(), target.url) << "\n";
        return report;
    }
    const Remote remote(made);
    Connection connection;
    connection.target = &target;
    connection.options = &options;
    connection.err = &err;
    const std::string local = "refs/heads/" + target.branch;

    for (int attempt = 0; attempt < kTries; ++attempt) {
        if (!Fetch(remote.get(), connection, target.branch)) {
            err << RemoteFailure(connection, "fetching from") << "\n";
            return report;
        }
        const std::optional<git_oid> head = RemoteHead(repository.get(), target.branch);
        git_index* indexMade = nullptr;
        if (git_index_new(&indexMade) != 0) {
            err << "cannot make the commit: " << LastError() << "\n";
            return report;
        }
        const Index index(indexMade);
        Commit parent;
        if (!ReadBranch(repository.get(), head, target, files, index.get(), parent, err) ||
            !ChangeIndex(repository.get(), index.get(), files, report, err)) {
            return report;
        }
        if (report.changed.empty() && report.removed.empty()) {
            report.status = kDone;
            err << "nothing to publish: the branch " << target.branch << " has every file\n";
            return report;
        }
        for (const std::string& name : report.changed) {
            err << (options.dryRun ? "would commit " : "committing ") << name << "\n";
        }
        for (const std::string& name : report.removed) {
            err << (options.dryRun ? "would remove " : "removing ") << name << " from the branch\n";
        }
        if (options.dryRun) {
            report.status = kDone;
            return report;
        }
        if (options.stop != nullptr && options.stop->load()) {
            err << "stopped before anything was committed: the branch is as it was\n";
            return report;
        }
        const std::optional<git_oid> commit =
            MakeCommit(repository.get(), index.get(), parent, report, local, err);
        if (!commit) {
            return report;
        }
        // Pushed only on top of what was fetched: a branch moved since is fetched again and
        // the commit made anew, never forced over another's work.
        if (!Fetch(remote.get(), connection, target.branch)) {
            err << RemoteFailure(connection, "fetching from") << "\n";
            return report;
        }
        const std::optional<git_oid> now = RemoteHead(repository.get(), target.branch);
        if (now.has_value() != head.has_value() || (now && git_oid_equal(&*now, &*head) == 0)) {
            err << "the branch " << target.branch
                << " moved while the commit was made; making it again on top\n";
            continue;
        }
        if (!Push(remote.get(), connection, local, err)) {
            return report;
        }
        char shown[GIT_OID_HEXSZ + 1] = {};
        git_oid_tostr(shown, sizeof shown, &*commit);
        err << "pushed " << shown << " to " << target.branch << " of "
            << WithoutLogin(target.url, target.url) << "\n";
        report.committed = true;
        report.status = kDone;
        return report;
    }
    err << "the branch " << target.branch << " kept moving; nothing was pushed\n";
    return report;
}
