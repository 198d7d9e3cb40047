#include "transfer/curl_request.h"

CurlRequest::CurlRequest() {
    curl_global_init(CURL_GLOBAL_ALL);
    easy_ = curl_easy_init();
    multi_ = curl_multi_init();
}

CurlRequest::~CurlRequest() {
    stop();
    if (easy_ != nullptr) {
        curl_easy_cleanup(easy_);
    }
    if (multi_ != nullptr) {
        curl_multi_cleanup(multi_);
    }
    for (curl_slist* list : lists_) {
        curl_slist_free_all(list);
    }
}

void CurlRequest::reset() {
    curl_easy_reset(easy_);
    for (curl_slist* list : lists_) {
        curl_slist_free_all(list);
    }
    lists_.clear();
}

void CurlRequest::setCommands(CURLoption when, const std::vector<std::string>& commands) {
    curl_slist* list = nullptr;
    for (const std::string& command : commands) {
        list = curl_slist_append(list, command.c_str());
    }
    lists_.push_back(list);
    curl_easy_setopt(easy_, when, list);
}

int CurlRequest::perform() {
    start();
    // Steps short enough for the window to answer within a tenth of a second.
    while (step(goesOn_ ? 50 : 100)) {
        if (goesOn_ && !goesOn_()) {
            stop();
            return -static_cast<int>(CURLE_ABORTED_BY_CALLBACK);
        }
    }
    const CURLcode result = finish();
    return result == CURLE_OK ? 0 : -static_cast<int>(result);
}

void CurlRequest::start() {
    curl_multi_add_handle(multi_, easy_);
}

bool CurlRequest::step(long mostMilliseconds) {
    int running = 0;
    if (curl_multi_perform(multi_, &running) != CURLM_OK) {
        broken_ = true;
        return false;
    }
    if (running > 0) {
        waitForSockets(mostMilliseconds);
    }
    return running > 0;
}

void CurlRequest::waitForSockets(long most) {
    long wait = most;
    curl_multi_timeout(multi_, &wait);
    if (wait < 0 || wait > most) {
        wait = most;
    }
    curl_multi_poll(multi_, nullptr, 0, static_cast<int>(wait), nullptr);
}

CURLcode CurlRequest::finish() {
    CURLcode result = broken_ ? CURLE_FAILED_INIT : CURLE_OK;
    broken_ = false;
    int left = 0;
    while (CURLMsg* message = curl_multi_info_read(multi_, &left)) {
        if (message->msg == CURLMSG_DONE) {
            result = message->data.result;
        }
    }
    curl_multi_remove_handle(multi_, easy_);
    return result;
}

void CurlRequest::stop() {
    if (easy_ != nullptr && multi_ != nullptr) {
        curl_multi_remove_handle(multi_, easy_);
    }
}
