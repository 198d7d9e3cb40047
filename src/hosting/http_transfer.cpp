#include "hosting/http_transfer.h"

#include <curl/curl.h>

#include <algorithm>

namespace {

// Where Debian keeps the system's trusted certificates, one file each.
constexpr const char* kSystemCertificates = "/etc/ssl/certs";

}  // namespace

void SetTransferLimits(void* handle, std::chrono::milliseconds timeout,
                       const std::string& certificateAuthority) {
    CURL* easy = static_cast<CURL*>(handle);
    curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(timeout.count()));
    // A server that stops answering: less than one byte a second for the whole time-out.
    curl_easy_setopt(easy, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(easy, CURLOPT_LOW_SPEED_TIME,
                     std::max(1L, static_cast<long>(timeout.count() / 1000)));
    curl_easy_setopt(easy, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(kLargestReply));
    if (!certificateAuthority.empty()) {
        // Besides, not instead of, the system's store.
        curl_easy_setopt(easy, CURLOPT_CAINFO, certificateAuthority.c_str());
        curl_easy_setopt(easy, CURLOPT_CAPATH, kSystemCertificates);
    }
}
