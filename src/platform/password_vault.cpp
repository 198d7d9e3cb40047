#include "platform/password_vault.h"

std::string GitTokenKeyringName(const std::string& repositoryUrl) {
    return "git:" + repositoryUrl;
}

std::string BucketKeyringName(const std::string& endpoint, const std::string& bucket) {
    return "s3:" + endpoint + "/" + bucket;
}
