#include "hosting/http_client.h"

#include <curl/curl.h>

#include <memory>

#include "hosting/http_transfer.h"

namespace {

constexpr long kMostRedirects = 5;

// The body as it comes, up to the size limit: more ends the transfer.
size_t Collect(char* data, size_t size, size_t count, void* target) {
    auto* body = static_cast<std::string*>(target);
    const size_t bytes = size * count;
    if (body->size() + bytes > kLargestReply) {
        return 0;
    }
    body->append(data, bytes);
    return bytes;
}

}  // namespace

std::string HttpGet(const std::string& url, std::chrono::milliseconds timeout,
                    const std::string& certificateAuthority) {
    curl_global_init(CURL_GLOBAL_ALL);
    const std::unique_ptr<CURL, void (*)(CURL*)> handle(curl_easy_init(), curl_easy_cleanup);
    if (!handle) {
        return "N";
    }
    // The request of the designed client: its accepted types and language.
    const std::unique_ptr<curl_slist, void (*)(curl_slist*)> headers(
        curl_slist_append(curl_slist_append(nullptr,
                                            "Accept: image/gif, image/x-xbitmap, image/jpeg, "
                                            "image/pjpeg, application/vnd.ms-excel, "
                                            "application/msword, "
                                            "application/vnd.ms-powerpoint, */*"),
                          "Accept-Language: en-us"),
        curl_slist_free_all);
    std::string body;
    CURL* easy = handle.get();
    curl_easy_setopt(easy, CURLOPT_URL, url.c_str());
    curl_easy_setopt(easy, CURLOPT_HTTPHEADER, headers.get());
    curl_easy_setopt(easy, CURLOPT_USERAGENT, "Mozilla/4.0");
    curl_easy_setopt(easy, CURLOPT_ACCEPT_ENCODING, "gzip, deflate");
    curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(easy, CURLOPT_MAXREDIRS, kMostRedirects);
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, Collect);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, &body);
    SetTransferLimits(easy, timeout, certificateAuthority);
    curl_easy_setopt(easy, CURLOPT_TIMEOUT_MS,
                     static_cast<long>(timeout.count() * kExchangeInTimeouts));
    if (curl_easy_perform(easy) != CURLE_OK) {
        return "N";
    }
    long status = 0;
    curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &status);
    // An error page is no answer: its text must never be taken for a folder id or address.
    return status / 100 == 2 ? body : "N";
}
