#pragma once

#include <chrono>
#include <optional>
#include <string>

// The parts of an address as the client sends them: the host upper-cased, the path as given
// (with its query), the port (80 unless the host names one).
struct UrlParts {
    std::string scheme;
    std::string host;
    std::string path;
    int port = 80;
};
UrlParts SplitUrl(const std::string& url);

// One exchange: the response header up to and including its empty line, and the body.
struct HttpReply {
    std::string header;
    std::string body;
};

// A minimal HTTP/1.0 client on sockets: one request per call, nothing kept between calls. A
// connect or a read that takes longer than the time-out fails the request. A body sent gzip- or
// deflate-encoded is decoded before the caller sees it.
class HttpClient {
  public:
    static constexpr std::chrono::seconds kDefaultTimeout{30};

    explicit HttpClient(std::chrono::milliseconds timeout = kDefaultTimeout) : timeout_(timeout) {}

    // GET, or POST when the body is not empty; the extra header lines carry their own line
    // ends. Nothing on failure (another scheme than HTTP, an unknown host, no connection, a
    // time-out, a body that does not decode).
    std::optional<HttpReply> request(const std::string& url, const std::string& extraHeaders = "",
                                     const std::string& body = "");

  private:
    std::chrono::milliseconds timeout_;
};

// The body as the server meant it: the request asks for gzip and deflate, so a reply may come
// compressed. Nothing when it does not decode.
std::optional<std::string> DecodedBody(const std::string& header, const std::string& body);

// The status number of a reply's header ("HTTP/1.0 404 Not Found" gives 404); 0 when the header
// has none.
int HttpStatus(const std::string& header);

// The body of a GET with a 2xx status, or "N" when the exchange failed or the server answered
// with another status. A reply is read for at most four time-outs in all (two minutes for the
// usual 30 seconds) and 64 MB.
std::string HttpGet(const std::string& url,
                    std::chrono::milliseconds timeout = HttpClient::kDefaultTimeout);
