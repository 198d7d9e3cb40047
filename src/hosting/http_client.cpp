#include "hosting/http_client.h"

#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/types.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <memory>

#include "common/text_case.h"

namespace {

constexpr std::size_t kLongestScheme = 18;
constexpr std::size_t kLongestHost = 126;
constexpr std::size_t kLongestPath = 2046;
constexpr std::size_t kBodyChunk = 1023;
// A reply larger than this, or one that takes longer in all, is no answer of the service's.
constexpr std::size_t kLargestHeader = 64 * 1024;
constexpr std::size_t kLargestBody = 64 * 1024 * 1024;
// The whole exchange may take four read time-outs: two minutes for the usual 30 seconds.
constexpr int kExchangeInTimeouts = 4;

bool IsHostCharacter(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '.' || c == ':';
}

// A socket that is closed when it goes out of scope.
class Socket {
  public:
    explicit Socket(int handle) : handle_(handle) {}
    ~Socket() {
        if (handle_ >= 0) {
            close(handle_);
        }
    }
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;
    int handle() const { return handle_; }
    bool valid() const { return handle_ >= 0; }

  private:
    int handle_;
};

int Milliseconds(std::chrono::milliseconds timeout) {
    return static_cast<int>(std::min<std::chrono::milliseconds::rep>(timeout.count(), 1 << 30));
}

// Waits until the socket is ready for the events; false on a time-out or an error.
bool WaitFor(int handle, short events, std::chrono::milliseconds timeout) {
    pollfd entry{handle, events, 0};
    int ready = 0;
    do {
        ready = poll(&entry, 1, Milliseconds(timeout));
    } while (ready < 0 && errno == EINTR);
    return ready > 0;
}

bool Connect(const Socket& socket, const sockaddr* address, socklen_t length,
             std::chrono::milliseconds timeout) {
    const int flags = fcntl(socket.handle(), F_GETFL, 0);
    fcntl(socket.handle(), F_SETFL, flags | O_NONBLOCK);
    if (connect(socket.handle(), address, length) != 0) {
        if (errno != EINPROGRESS || !WaitFor(socket.handle(), POLLOUT, timeout)) {
            return false;
        }
        int error = 0;
        socklen_t size = sizeof error;
        if (getsockopt(socket.handle(), SOL_SOCKET, SO_ERROR, &error, &size) != 0 || error != 0) {
            return false;
        }
    }
    fcntl(socket.handle(), F_SETFL, flags);
    return true;
}

bool SendPiece(const Socket& socket, const std::string& piece, std::chrono::milliseconds timeout) {
    std::size_t sent = 0;
    while (sent < piece.size()) {
        if (!WaitFor(socket.handle(), POLLOUT, timeout)) {
            return false;
        }
        const ssize_t count =
            send(socket.handle(), piece.data() + sent, piece.size() - sent, MSG_NOSIGNAL);
        if (count < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        sent += static_cast<std::size_t>(count);
    }
    return true;
}

enum class Read { Data, Closed, TimedOut };

// One recv of up to size bytes; a broken connection counts as closed.
Read Receive(const Socket& socket, char* buffer, std::size_t size, std::size_t& received,
             std::chrono::milliseconds timeout) {
    if (!WaitFor(socket.handle(), POLLIN, timeout)) {
        return Read::TimedOut;
    }
    ssize_t count = 0;
    do {
        count = recv(socket.handle(), buffer, size, 0);
    } while (count < 0 && errno == EINTR);
    if (count <= 0) {
        return Read::Closed;
    }
    received = static_cast<std::size_t>(count);
    return Read::Data;
}

// The value of a header line, case ignored in the name; empty when there is none.
std::string HeaderValue(const std::string& header, const std::string& name) {
    std::size_t start = 0;
    while (start < header.size()) {
        std::size_t end = header.find('\n', start);
        if (end == std::string::npos) {
            end = header.size();
        }
        const std::string line = header.substr(start, end - start);
        if (line.size() > name.size() && line[name.size()] == ':' &&
            EqualIgnoringCase(line.substr(0, name.size()), name)) {
            std::string value = line.substr(name.size() + 1);
            value.erase(0, value.find_first_not_of(" \t"));
            value.erase(value.find_last_not_of(" \t\r") + 1);
            return LowerCase(value);
        }
        start = end + 1;
    }
    return std::string();
}

// The body inflated with zlib; windowBits chooses the wrapper (gzip, zlib or none).
std::optional<std::string> Inflate(const std::string& body, int windowBits) {
    z_stream stream{};
    if (inflateInit2(&stream, windowBits) != Z_OK) {
        return std::nullopt;
    }
    std::string result;
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(body.data()));
    stream.avail_in = static_cast<uInt>(body.size());
    char chunk[16384];
    int status = Z_OK;
    while (status == Z_OK) {
        stream.next_out = reinterpret_cast<Bytef*>(chunk);
        stream.avail_out = sizeof chunk;
        status = inflate(&stream, Z_NO_FLUSH);
        if (status != Z_OK && status != Z_STREAM_END) {
            break;
        }
        result.append(chunk, sizeof chunk - stream.avail_out);
        if (status == Z_OK && stream.avail_in == 0 && stream.avail_out != 0) {
            status = Z_BUF_ERROR;
        }
    }
    inflateEnd(&stream);
    if (status != Z_STREAM_END) {
        return std::nullopt;
    }
    return result;
}

}  // namespace

// The request asks for gzip and deflate, so a reply may come compressed: callers get text.
std::optional<std::string> DecodedBody(const std::string& header, const std::string& body) {
    const std::string encoding = HeaderValue(header, "Content-Encoding");
    if (encoding == "gzip" || encoding == "x-gzip") {
        return Inflate(body, 16 + MAX_WBITS);
    }
    if (encoding == "deflate") {
        // Servers send deflate with and without the zlib wrapper.
        if (std::optional<std::string> wrapped = Inflate(body, MAX_WBITS)) {
            return wrapped;
        }
        return Inflate(body, -MAX_WBITS);
    }
    return body;
}

UrlParts SplitUrl(const std::string& url) {
    UrlParts parts;
    const std::string upper = [&url] {
        std::string copy = url;
        std::transform(copy.begin(), copy.end(), copy.begin(),
                       [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
        return copy;
    }();
    std::size_t at = 0;
    const std::size_t colon = upper.find(':');
    if (colon != std::string::npos) {
        parts.scheme = upper.substr(0, colon);
        at = colon + 1;
    } else {
        parts.scheme = "HTTP";
    }
    if (upper.compare(at, 2, "//") == 0) {
        at += 2;
    }
    std::size_t hostEnd = at;
    while (hostEnd < upper.size() && IsHostCharacter(upper[hostEnd])) {
        ++hostEnd;
    }
    parts.host = upper.substr(at, hostEnd - at);
    parts.path = url.substr(hostEnd);
    const std::size_t portColon = parts.host.find(':');
    if (portColon != std::string::npos) {
        parts.port = std::atoi(parts.host.c_str() + portColon + 1);
        parts.host.resize(portColon);
    }
    parts.scheme.resize(std::min(parts.scheme.size(), kLongestScheme));
    parts.host.resize(std::min(parts.host.size(), kLongestHost));
    parts.path.resize(std::min(parts.path.size(), kLongestPath));
    return parts;
}

std::optional<HttpReply> HttpClient::request(const std::string& url,
                                             const std::string& extraHeaders,
                                             const std::string& body) {
    const UrlParts parts = SplitUrl(url);
    if (parts.scheme != "HTTP") {
        return std::nullopt;
    }
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(parts.host.c_str(), std::to_string(parts.port).c_str(), &hints, &found) != 0 ||
        found == nullptr) {
        return std::nullopt;
    }
    const std::unique_ptr<addrinfo, void (*)(addrinfo*)> addresses(found, freeaddrinfo);
    const Socket socket(::socket(AF_INET, SOCK_STREAM, 0));
    if (!socket.valid() || !Connect(socket, addresses->ai_addr, addresses->ai_addrlen, timeout_)) {
        return std::nullopt;
    }

    std::string pieces[] = {
        body.empty() ? "GET " : "POST ",
        parts.path.empty() ? "/" : parts.path,
        " HTTP/1.0\r\n",
        "Accept: image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, "
        "application/vnd.ms-excel, application/msword, application/vnd.ms-powerpoint, */*\r\n",
        "Accept-Language: en-us\r\n",
        "Accept-Encoding: gzip, deflate\r\n",
        "User-Agent: Mozilla/4.0\r\n",
        body.empty() ? "" : "Content-Length: " + std::to_string(body.size()) + "\r\n",
        "Host: " + parts.host + "\r\n",
        extraHeaders,
        "\r\n",
        body,
    };
    for (const std::string& piece : pieces) {
        if (!piece.empty() && !SendPiece(socket, piece, timeout_)) {
            return std::nullopt;
        }
    }

    HttpReply reply;
    const auto deadline = std::chrono::steady_clock::now() + timeout_ * kExchangeInTimeouts;
    // Each read waits the time-out, and never past the exchange's end.
    const auto wait = [&] {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        return std::max(std::chrono::milliseconds(0), std::min(timeout_, left));
    };
    // The header one byte at a time, so that the body starts right after its empty line.
    int lineLength = 0;
    for (;;) {
        char c = 0;
        std::size_t received = 0;
        const Read read = Receive(socket, &c, 1, received, wait());
        if (read == Read::TimedOut || reply.header.size() >= kLargestHeader) {
            return std::nullopt;
        }
        if (read == Read::Closed) {
            break;
        }
        reply.header += c;
        if (c == '\n') {
            if (lineLength == 0) {
                break;
            }
            lineLength = 0;
        } else if (c != '\r') {
            ++lineLength;
        }
    }
    char chunk[kBodyChunk];
    for (;;) {
        std::size_t received = 0;
        const Read read = Receive(socket, chunk, sizeof chunk, received, wait());
        if (read == Read::TimedOut) {
            return std::nullopt;
        }
        if (read == Read::Closed) {
            break;
        }
        reply.body.append(chunk, received);
        if (reply.body.size() > kLargestBody) {
            return std::nullopt;
        }
    }
    std::optional<std::string> decoded = DecodedBody(reply.header, reply.body);
    if (!decoded) {
        return std::nullopt;
    }
    reply.body = std::move(*decoded);
    return reply;
}

int HttpStatus(const std::string& header) {
    // "HTTP/1.1 200 OK": the number after the first blank.
    const std::size_t blank = header.find(' ');
    if (header.rfind("HTTP/", 0) != 0 || blank == std::string::npos) {
        return 0;
    }
    int status = 0;
    for (std::size_t at = blank + 1; at < header.size() && at < blank + 4; ++at) {
        if (!std::isdigit(static_cast<unsigned char>(header[at]))) {
            return 0;
        }
        status = status * 10 + (header[at] - '0');
    }
    return status;
}

std::string HttpGet(const std::string& url, std::chrono::milliseconds timeout) {
    const std::optional<HttpReply> reply = HttpClient(timeout).request(url);
    // An error page is no answer: its text must never be taken for a folder id or address.
    if (!reply || HttpStatus(reply->header) / 100 != 2) {
        return "N";
    }
    return reply->body;
}
