#include "hosting/http_client.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>
#include <zlib.h>

#include <thread>

#include "support/loopback_listener.h"

namespace {

// A server on 127.0.0.1 that takes one request, keeps its bytes and sends a canned reply; a
// silent one never answers.
class OneShotServer {
  public:
    explicit OneShotServer(std::string reply, bool silent = false)
        : reply_(std::move(reply)), silent_(silent) {
        listener_ = ListenOnLoopback(1, port_);
        thread_ = std::thread([this] { serve(); });
    }
    ~OneShotServer() {
        shutdown(listener_, SHUT_RDWR);
        close(listener_);
        if (client_ >= 0) {
            shutdown(client_, SHUT_RDWR);
        }
        thread_.join();
    }
    std::string url(const std::string& path) const {
        return "http://127.0.0.1:" + std::to_string(port_) + path;
    }
    const std::string& request() const { return request_; }

  private:
    void serve() {
        client_ = accept(listener_, nullptr, nullptr);
        if (client_ < 0) {
            return;
        }
        char c = 0;
        while (request_.find("\r\n\r\n") == std::string::npos && recv(client_, &c, 1, 0) == 1) {
            request_ += c;
        }
        if (!silent_) {
            send(client_, reply_.data(), reply_.size(), MSG_NOSIGNAL);
            close(client_);
            client_ = -1;
            return;
        }
        while (recv(client_, &c, 1, 0) == 1) {
        }
        close(client_);
        client_ = -1;
    }

    std::string reply_;
    bool silent_;
    int listener_ = -1;
    int client_ = -1;
    int port_ = 0;
    std::string request_;
    std::thread thread_;
};

std::string Compressed(const std::string& text, int windowBits) {
    z_stream stream{};
    deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, windowBits, 8, Z_DEFAULT_STRATEGY);
    std::string out(compressBound(static_cast<uLong>(text.size())) + 32, '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
    stream.avail_in = static_cast<uInt>(text.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    deflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return out;
}

}  // namespace

TEST(HttpClient, SendsTheDesignedRequestAndTakesOnlyA2xxBody) {
    OneShotServer server("HTTP/1.0 404 Not Found\r\nContent-Type: text/html\r\n\r\n<p>gone</p>");
    // An error page is no answer.
    EXPECT_EQ(HttpGet(server.url("/quillservlet?REGISTERFOLDER|My-Site|12")), "N");
    const std::string request = server.request();
    EXPECT_EQ(request.substr(0, request.find("\r\n")),
              "GET /quillservlet?REGISTERFOLDER|My-Site|12 HTTP/1.1");
    for (const char* line :
         {"Accept: image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, "
          "application/vnd.ms-excel, application/msword, application/vnd.ms-powerpoint, */*\r\n",
          "Accept-Language: en-us\r\n", "User-Agent: Mozilla/4.0\r\n", "Host: 127.0.0.1:"}) {
        EXPECT_NE(request.find(line), std::string::npos) << line << request;
    }
    EXPECT_NE(request.find("Accept-Encoding: "), std::string::npos) << request;

    OneShotServer empty("HTTP/1.0 200 OK\r\n\r\n");
    EXPECT_EQ(HttpGet(empty.url("/")), "");
    // Only web addresses, and nothing where no server listens.
    EXPECT_EQ(HttpGet("file:///etc/passwd"), "N");
    EXPECT_EQ(HttpGet("http://127.0.0.1:1/x"), "N");
}

TEST(HttpClient, CompressedRepliesAreDecodedRedirectsFollowedAndSilentServersTimeOut) {
    const std::string text(5000, 'z');
    for (const auto& [encoding, bits] : std::vector<std::pair<std::string, int>>{
             {"gzip", 16 + MAX_WBITS}, {"deflate", MAX_WBITS}}) {
        OneShotServer server("HTTP/1.0 200 OK\r\nContent-Encoding: " + encoding + "\r\n\r\n" +
                             Compressed(text, bits));
        EXPECT_EQ(HttpGet(server.url("/")), text) << encoding << bits;
    }
    OneShotServer broken("HTTP/1.0 200 OK\r\nContent-Encoding: gzip\r\n\r\nnot gzip at all");
    EXPECT_EQ(HttpGet(broken.url("/")), "N");

    OneShotServer target("HTTP/1.0 200 OK\r\n\r\narrived");
    OneShotServer moved("HTTP/1.0 301 Moved\r\nLocation: " + target.url("/there") + "\r\n\r\n");
    EXPECT_EQ(HttpGet(moved.url("/here")), "arrived");

    OneShotServer silent("", true);
    EXPECT_EQ(HttpGet(silent.url("/"), std::chrono::milliseconds(300)), "N");
}
