// HttpGet of a 10 MB body from a loopback server against the `curl` command and against libcurl
// called directly, fetching the same address in the same run. Prints the throughputs; the goal
// is at least 0.9 of the curl command's.
#include <curl/curl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "hosting/http_client.h"
#include "support/loopback_listener.h"

namespace {

constexpr std::size_t kBodyBytes = 10 * 1024 * 1024;
constexpr int kRuns = 5;

// Answers every request with the same 10 MB body, then closes the connection.
class BodyServer {
  public:
    BodyServer() : reply_("HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\n") {
        reply_ += std::string(kBodyBytes, 'q');
        listener_ = ListenOnLoopback(8, port_);
        thread_ = std::thread([this] { serve(); });
    }
    ~BodyServer() {
        stopping_ = true;
        shutdown(listener_, SHUT_RDWR);
        close(listener_);
        thread_.join();
    }
    std::string url() const { return "http://127.0.0.1:" + std::to_string(port_) + "/body"; }

  private:
    void serve() {
        while (!stopping_) {
            const int client = accept(listener_, nullptr, nullptr);
            if (client < 0) {
                return;
            }
            std::string request;
            char c = 0;
            while (request.find("\r\n\r\n") == std::string::npos && recv(client, &c, 1, 0) == 1) {
                request += c;
            }
            std::size_t sent = 0;
            while (sent < reply_.size()) {
                const ssize_t count =
                    send(client, reply_.data() + sent, reply_.size() - sent, MSG_NOSIGNAL);
                if (count <= 0) {
                    break;
                }
                sent += static_cast<std::size_t>(count);
            }
            close(client);
        }
    }

    std::string reply_;
    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};

size_t Append(char* data, size_t size, size_t count, void* target) {
    static_cast<std::string*>(target)->append(data, size * count);
    return size * count;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

template <typename Fetch>
double MedianMegabytesPerSecond(Fetch&& fetch) {
    std::vector<double> rates;
    for (int run = 0; run < kRuns; ++run) {
        const auto start = std::chrono::steady_clock::now();
        const std::size_t bytes = fetch();
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        rates.push_back(bytes == kBodyBytes ? kBodyBytes / seconds / 1e6 : 0.0);
    }
    return Median(rates);
}

}  // namespace

int main() {
    BodyServer server;
    const double ours = MedianMegabytesPerSecond([&] { return HttpGet(server.url()).size(); });
    curl_global_init(CURL_GLOBAL_ALL);
    const double curl = MedianMegabytesPerSecond([&] {
        std::string body;
        CURL* handle = curl_easy_init();
        curl_easy_setopt(handle, CURLOPT_URL, server.url().c_str());
        curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, Append);
        curl_easy_setopt(handle, CURLOPT_WRITEDATA, &body);
        curl_easy_perform(handle);
        curl_easy_cleanup(handle);
        return body.size();
    });
    // The command writes what it got; its size says whether the whole body came.
    const std::string received = "/tmp/quillora-http-bench.body";
    const double command = MedianMegabytesPerSecond([&] {
        const std::string line = "curl -s -o " + received + " " + server.url();
        std::FILE* body =
            std::system(line.c_str()) == 0 ? std::fopen(received.c_str(), "rb") : nullptr;
        std::size_t bytes = 0;
        if (body != nullptr) {
            std::fseek(body, 0, SEEK_END);
            bytes = static_cast<std::size_t>(std::ftell(body));
            std::fclose(body);
        }
        return bytes;
    });
    std::remove(received.c_str());
    std::printf(
        "HttpGet of a 10 MB body over loopback: %.0f MB/s; the curl command %.0f MB/s (ratio "
        "%.2f); libcurl called directly %.0f MB/s (ratio %.2f)\n",
        ours, command, ours / command, curl, ours / curl);
    return 0;
}
