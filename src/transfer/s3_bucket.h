#pragma once

#include <atomic>
#include <map>
#include <ostream>
#include <string>
#include <vector>

class PasswordVault;

// A bucket (and a prefix in it) of S3-compatible storage that serves a site.
struct S3Target {
    std::string bucket;
    // Without slashes at either end; empty for the bucket's root.
    std::string prefix;
    // The service's address (https://...); empty for AWS itself in the region. A named
    // endpoint is addressed path-style (ENDPOINT/BUCKET/KEY), as stores other than AWS need.
    std::string endpoint;
    std::string region = "us-east-1";
    // A CA file trusted besides the system's; empty for none.
    std::string certificateAuthority;
};

struct S3PublishOptions {
    bool dryRun = false;
    // Every file goes, whatever the bucket holds.
    bool force = false;
    // The keyring, asked when AWS_ACCESS_KEY_ID and AWS_SECRET_ACCESS_KEY are not set (may be
    // none).
    PasswordVault* vault = nullptr;
    const std::atomic<bool>* stop = nullptr;
};

struct S3PublishFiles {
    std::string siteFolder;
    std::vector<std::string> files;
    // Names the bucket must lose: pages deleted, files this program put there and puts no more.
    std::vector<std::string> removed;
    // What was sent under each removed name (the sent record's hash): a file that holds
    // anything else stays.
    std::map<std::string, std::string> sentHashes;
};

struct S3PublishReport {
    // 0 done, 1 some files failed (named), 2 not reached or refused before anything was sent,
    // 3 stopped (Ctrl+C or SIGTERM), the files not sent named.
    int status = 0;
    std::vector<std::string> sent;
    std::vector<std::string> deleted;
    // Removed names the bucket no longer holds as sent (gone, or someone else's file now): left
    // as they are.
    std::vector<std::string> kept;
};

// The address of a key (or of the bucket, for an empty key), with the query: under the
// endpoint when one is named, else on AWS (a bucket name with a dot in the path).
std::string S3ObjectAddress(const S3Target& target, const std::string& key,
                            const std::string& query = std::string());

// Sends the files the bucket lacks or holds with other content (its listing's ETags against
// the files' MD5), each with its content type and cache header (pages revalidate, pictures are
// kept a month), then deletes the removed ones. Requests are signed with AWS SigV4.
S3PublishReport PublishToS3(const S3Target& target, const S3PublishFiles& files,
                            const S3PublishOptions& options, std::ostream& err);

// The content type of a file by its extension.
std::string ContentTypeOf(const std::string& name);
