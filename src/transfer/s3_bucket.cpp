#include "transfer/s3_bucket.h"

#include <curl/curl.h>
#include <openssl/evp.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <memory>
#include <optional>
#include <set>

#include "common/fields.h"
#include "common/hex_text.h"
#include "common/markup_escaping.h"
#include "common/paths.h"
#include "common/text_case.h"
#include "common/text_file.h"
#include "files/sent_record.h"
#include "platform/password_vault.h"
#include "transfer/s3_listing.h"

namespace {

constexpr int kDone = 0;
constexpr int kSomeFailed = 1;
constexpr int kNotReached = 2;
constexpr int kStopped = 3;
constexpr long kTimeoutSeconds = 60;
// A file fetched back to see whether it is still what was sent is never larger than this.
constexpr curl_off_t kMostFetchedBytes = 512LL * 1024 * 1024;

struct Credentials {
    std::string key;
    std::string secret;
};

std::optional<Credentials> FindCredentials(const S3Target& target, PasswordVault* vault) {
    const char* key = std::getenv("AWS_ACCESS_KEY_ID");
    const char* secret = std::getenv("AWS_SECRET_ACCESS_KEY");
    if (key != nullptr && secret != nullptr && *key != '\0') {
        return Credentials{key, secret};
    }
    if (vault != nullptr) {
        // Kept as "KEY:SECRET" under the endpoint and bucket.
        const std::optional<std::string> kept =
            vault->read(BucketKeyringName(target.endpoint, target.bucket));
        if (kept && kept->find(':') != std::string::npos) {
            return Credentials{kept->substr(0, kept->find(':')), kept->substr(kept->find(':') + 1)};
        }
    }
    return std::nullopt;
}

std::string Digest(const EVP_MD* kind, const std::string& bytes) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int size = 0;
    EVP_Digest(bytes.data(), bytes.size(), digest, &size, kind, nullptr);
    return HexText(digest, size);
}

size_t Collect(char* data, size_t size, size_t count, void* target) {
    static_cast<std::string*>(target)->append(data, size * count);
    return size * count;
}

// One signed request to the store.
struct Reply {
    bool reached = false;
    long status = 0;
    std::string body;
    std::string failure;
};

class Store {
  public:
    Store(const S3Target& target, Credentials credentials, const std::atomic<bool>* stop)
        : target_(target), credentials_(std::move(credentials)), stop_(stop) {
        curl_global_init(CURL_GLOBAL_ALL);
    }

    std::string address(const std::string& key, const std::string& query = std::string()) const {
        return S3ObjectAddress(target_, key, query);
    }

    Reply send(const char* method, const std::string& url, const std::string& body,
               const std::vector<std::string>& headers) {
        Reply reply;
        const std::unique_ptr<CURL, void (*)(CURL*)> handle(curl_easy_init(), curl_easy_cleanup);
        CURL* easy = handle.get();
        curl_slist* list = nullptr;
        // The payload's hash is part of what is signed.
        list = curl_slist_append(list,
                                 ("x-amz-content-sha256: " + Digest(EVP_sha256(), body)).c_str());
        for (const std::string& header : headers) {
            list = curl_slist_append(list, header.c_str());
        }
        const std::unique_ptr<curl_slist, void (*)(curl_slist*)> owned(list, curl_slist_free_all);
        const std::string signing = "aws:amz:" + target_.region + ":s3";
        const std::string user = credentials_.key + ":" + credentials_.secret;
        curl_easy_setopt(easy, CURLOPT_URL, url.c_str());
        curl_easy_setopt(easy, CURLOPT_CUSTOMREQUEST, method);
        curl_easy_setopt(easy, CURLOPT_AWS_SIGV4, signing.c_str());
        curl_easy_setopt(easy, CURLOPT_USERPWD, user.c_str());
        curl_easy_setopt(easy, CURLOPT_HTTPHEADER, owned.get());
        curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, Collect);
        curl_easy_setopt(easy, CURLOPT_WRITEDATA, &reply.body);
        curl_easy_setopt(easy, CURLOPT_TIMEOUT, kTimeoutSeconds);
        curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
        // Asked about once a second however the transfer stands: Ctrl+C ends a wait in time.
        if (stop_ != nullptr) {
            curl_easy_setopt(easy, CURLOPT_XFERINFOFUNCTION, StopAsked);
            curl_easy_setopt(easy, CURLOPT_XFERINFODATA, stop_);
            curl_easy_setopt(easy, CURLOPT_NOPROGRESS, 0L);
        }
        if (!target_.certificateAuthority.empty()) {
            curl_easy_setopt(easy, CURLOPT_CAINFO, target_.certificateAuthority.c_str());
        }
        if (std::string(method) == "PUT") {
            curl_easy_setopt(easy, CURLOPT_POSTFIELDS, body.data());
            curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE_LARGE,
                             static_cast<curl_off_t>(body.size()));
        } else if (std::string(method) == "HEAD") {
            curl_easy_setopt(easy, CURLOPT_NOBODY, 1L);
        } else if (std::string(method) == "GET") {
            curl_easy_setopt(easy, CURLOPT_MAXFILESIZE_LARGE, kMostFetchedBytes);
        }
        const CURLcode code = curl_easy_perform(easy);
        if (code != CURLE_OK) {
            reply.failure = curl_easy_strerror(code);
            return reply;
        }
        reply.reached = true;
        curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &reply.status);
        return reply;
    }

  private:
    static int StopAsked(void* stop, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
        return static_cast<const std::atomic<bool>*>(stop)->load() ? 1 : 0;
    }

    const S3Target& target_;
    Credentials credentials_;
    const std::atomic<bool>* stop_;
};

// The store's refusal in a sentence: its code and message.
std::string Refusal(const Reply& reply) {
    if (!reply.reached) {
        return "cannot be reached: " + reply.failure;
    }
    const std::vector<std::string> code = Elements(reply.body, "Code");
    const std::vector<std::string> message = Elements(reply.body, "Message");
    return "answered " + std::to_string(reply.status) +
           (code.empty() ? std::string() : " " + code[0]) +
           (message.empty() ? std::string() : " (" + message[0] + ")");
}

bool IsPage(const std::string& name) {
    const std::string lower = LowerCase(name);
    for (const char* kind : {".html", ".htm", ".xml", ".txt"}) {
        const std::string ending(kind);
        if (lower.size() >= ending.size() &&
            lower.compare(lower.size() - ending.size(), ending.size(), ending) == 0) {
            return true;
        }
    }
    return false;
}

}  // namespace

std::string ContentTypeOf(const std::string& name) {
    const std::string lower = LowerCase(name);
    const std::size_t dot = lower.rfind('.');
    const std::string extension = dot == std::string::npos ? std::string() : lower.substr(dot);
    static const std::map<std::string, std::string> kTypes = {{".html", "text/html; charset=utf-8"},
                                                              {".htm", "text/html; charset=utf-8"},
                                                              {".css", "text/css"},
                                                              {".js", "text/javascript"},
                                                              {".xml", "application/xml"},
                                                              {".txt", "text/plain; charset=utf-8"},
                                                              {".jpg", "image/jpeg"},
                                                              {".jpeg", "image/jpeg"},
                                                              {".png", "image/png"},
                                                              {".gif", "image/gif"},
                                                              {".webp", "image/webp"},
                                                              {".woff2", "font/woff2"},
                                                              {".bmp", "image/bmp"},
                                                              {".svg", "image/svg+xml"},
                                                              {".ico", "image/x-icon"}};
    const auto found = kTypes.find(extension);
    return found != kTypes.end() ? found->second : "application/octet-stream";
}

std::string S3ObjectAddress(const S3Target& target, const std::string& key,
                            const std::string& query) {
    std::string base = target.endpoint;
    while (!base.empty() && base.back() == '/') {
        base.pop_back();
    }
    // A bucket name with a dot cannot be a host name under AWS's certificate
    // (*.s3.REGION.amazonaws.com covers one label): it goes in the path.
    const std::string aws = "s3." + target.region + ".amazonaws.com/";
    std::string url = !base.empty() ? base + "/" + target.bucket + "/"
                      : target.bucket.find('.') != std::string::npos
                          ? "https://" + aws + target.bucket + "/"
                          : "https://" + target.bucket + "." + aws;
    if (!key.empty()) {
        for (const std::string& part : SplitFields(key, "/")) {
            url += PercentEncoded(part) + "/";
        }
        url.pop_back();
    }
    return url + (query.empty() ? "" : "?" + query);
}

namespace {

// What the bucket holds under the prefix: each key's ETag, the MD5 of a file sent whole. Nothing,
// told, when it cannot be listed whole (the report's status says why).
std::optional<std::map<std::string, std::string>> ListBucket(Store& store, const S3Target& target,
                                                             const std::string& prefix,
                                                             const S3PublishOptions& options,
                                                             S3PublishReport& report,
                                                             std::ostream& err) {
    std::map<std::string, std::string> held;
    std::string token;
    // A store that hands out a token it gave before would be listed for ever.
    std::set<std::string> tokens;
    for (;;) {
        std::string query = "list-type=2&prefix=" + PercentEncoded(prefix);
        if (!token.empty()) {
            query = "continuation-token=" + PercentEncoded(token) + "&" + query;
        }
        const Reply listing = store.send("GET", store.address("", query), "", {});
        if (options.stop != nullptr && options.stop->load()) {
            err << "stopped while the bucket " << target.bucket
                << " was listed: nothing was sent\n";
            report.status = kStopped;
            return std::nullopt;
        }
        if (!listing.reached || listing.status != 200) {
            err << "the bucket " << target.bucket << " " << Refusal(listing)
                << ": nothing was sent\n";
            return std::nullopt;
        }
        const S3ListingPage page = ReadS3Listing(listing.body);
        held.insert(page.etags.begin(), page.etags.end());
        if (!page.next) {
            return held;
        }
        token = *page.next;
        if (!tokens.insert(token).second) {
            err << "the bucket " << target.bucket
                << " repeats its listing (it gave the same continuation token twice): nothing "
                   "was sent\n";
            return std::nullopt;
        }
    }
}

// The files the bucket lacks or holds otherwise (every one when forced), each with its type
// and cache header; the names of those not sent.
std::vector<std::string> SendFiles(Store& store, const S3PublishFiles& files,
                                   const std::string& prefix,
                                   const std::map<std::string, std::string>& held,
                                   const S3PublishOptions& options, S3PublishReport& report,
                                   std::ostream& err) {
    std::vector<std::string> failed;
    for (std::size_t i = 0; i < files.files.size(); ++i) {
        const std::string& name = files.files[i];
        if (options.stop != nullptr && options.stop->load()) {
            failed.push_back(name);
            continue;
        }
        const std::optional<std::string> bytes = ReadTextFile(JoinPath(files.siteFolder, name));
        if (!bytes) {
            err << "failed " << name << ": it cannot be read\n";
            failed.push_back(name);
            continue;
        }
        const auto there = held.find(prefix + name);
        if (!options.force && there != held.end() && there->second == Digest(EVP_md5(), *bytes)) {
            continue;
        }
        if (options.dryRun) {
            err << "would send " << name << "\n";
            report.sent.push_back(name);
            continue;
        }
        const Reply put = store.send("PUT", store.address(prefix + name), *bytes,
                                     {"Content-Type: " + ContentTypeOf(name),
                                      std::string("Cache-Control: ") +
                                          (IsPage(name) ? "no-cache" : "public, max-age=2592000")});
        if (!put.reached || put.status / 100 != 2) {
            err << "failed " << name << ": the store " << Refusal(put) << "\n";
            failed.push_back(name);
            // A store gone or refusing the login takes nothing more: the files after this one
            // are not sent either, and are named so.
            if (!put.reached || put.status == 403) {
                failed.insert(failed.end(),
                              files.files.begin() + static_cast<std::ptrdiff_t>(i + 1),
                              files.files.end());
                break;
            }
            continue;
        }
        err << "sent " << name << " (" << bytes->size() << " bytes)\n";
        report.sent.push_back(name);
    }
    return failed;
}

// The removed files the bucket holds, deleted; the names of those that stay.
std::vector<std::string> DeleteRemoved(Store& store, const S3PublishFiles& files,
                                       const std::string& prefix,
                                       const std::map<std::string, std::string>& held,
                                       const S3PublishOptions& options, S3PublishReport& report,
                                       std::ostream& err) {
    std::vector<std::string> failed;
    for (const std::string& name : files.removed) {
        if (held.count(prefix + name) == 0) {
            report.kept.push_back(name);
            continue;
        }
        // Someone may have put their own file under the name since: only what was sent goes.
        const Reply there = store.send("GET", store.address(prefix + name), "", {});
        if (!there.reached || there.status / 100 != 2) {
            err << "failed to delete " << name << ": the store " << Refusal(there) << "\n";
            failed.push_back(name);
            continue;
        }
        const auto sent = files.sentHashes.find(name);
        if (!HoldsAsSent(there.body,
                         sent == files.sentHashes.end() ? std::string() : sent->second)) {
            err << name << " in the bucket is not what this program sent there, so it stays\n";
            report.kept.push_back(name);
            continue;
        }
        if (options.dryRun) {
            err << "would delete " << name << "\n";
            continue;
        }
        const Reply gone = store.send("DELETE", store.address(prefix + name), "", {});
        if (!gone.reached || gone.status / 100 != 2) {
            err << "failed to delete " << name << ": the store " << Refusal(gone) << "\n";
            failed.push_back(name);
            continue;
        }
        err << "deleted " << name << "\n";
        report.deleted.push_back(name);
    }
    return failed;
}

}  // namespace

S3PublishReport PublishToS3(const S3Target& target, const S3PublishFiles& files,
                            const S3PublishOptions& options, std::ostream& err) {
    S3PublishReport report;
    report.status = kNotReached;
    const std::optional<Credentials> credentials = FindCredentials(target, options.vault);
    if (!credentials) {
        err << "no credentials for the bucket " << target.bucket
            << ": set AWS_ACCESS_KEY_ID and AWS_SECRET_ACCESS_KEY, or keep them in the keyring\n";
        return report;
    }
    Store store(target, *credentials, options.stop);
    const std::string prefix = target.prefix.empty() ? std::string() : target.prefix + "/";
    const std::optional<std::map<std::string, std::string>> held =
        ListBucket(store, target, prefix, options, report, err);
    if (!held) {
        return report;
    }
    report.status = kDone;
    std::vector<std::string> failed = SendFiles(store, files, prefix, *held, options, report, err);
    if (failed.empty()) {
        failed = DeleteRemoved(store, files, prefix, *held, options, report, err);
    }
    if (!failed.empty()) {
        report.status = options.stop != nullptr && options.stop->load() ? kStopped
                        : report.sent.empty()                           ? kNotReached
                                                                        : kSomeFailed;
        for (const std::string& name : report.sent) {
            err << "sent before the failure: " << name << "\n";
        }
        for (const std::string& name : failed) {
            err << "not sent: " << name << "\n";
        }
        return report;
    }
    err << report.sent.size() << (options.dryRun ? " files to send, " : " files sent, ")
        << report.deleted.size() << " deleted";
    if (report.sent.empty() && report.deleted.empty()) {
        err << ": the bucket has every file";
    }
    err << "\n";
    return report;
}
