#pragma once

#include <curl/curl.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

// One libcurl easy handle driven through a multi handle: the connection it keeps is reused by
// the next request, and a transfer can be moved on in steps while the window stays lively.
class CurlRequest {
  public:
    CurlRequest();
    ~CurlRequest();
    CurlRequest(const CurlRequest&) = delete;
    CurlRequest& operator=(const CurlRequest&) = delete;

    bool ready() const { return easy_ != nullptr && multi_ != nullptr; }
    CURL* easy() const { return easy_; }
    // Forgets every option of the last request (the open connection stays) and its commands.
    void reset();
    // Commands sent before the request (after the login, before any folder change), or after it
    // (in the request's folder).
    void setCommands(CURLoption when, const std::vector<std::string>& commands);
    // Runs the request to its end: 0, or libcurl's code negated. Between its steps the
    // waiting hook, when set, keeps the window lively; its false ends the request
    // (CURLE_ABORTED_BY_CALLBACK).
    int perform();
    void setWaiting(std::function<bool()> goesOn) { goesOn_ = std::move(goesOn); }
    // Starts the request; step() moves it on.
    void start();
    // Moves the started request on, waiting at most the given milliseconds: true while it goes
    // on.
    bool step(long mostMilliseconds);
    // The outcome of the request that ended (CURLE_OK unless libcurl tells another); the handle
    // leaves the multi stack.
    CURLcode finish();
    // Ends the started request at once; its connection is closed.
    void stop();

  private:
    void waitForSockets(long most);

    CURL* easy_ = nullptr;
    CURLM* multi_ = nullptr;
    std::vector<curl_slist*> lists_;
    // libcurl's multi stack failed on the last step.
    bool broken_ = false;
    std::function<bool()> goesOn_;
};
