// Upload and download of a 50 MB file through the uploader's FTP layer against the curl
// command on the same loopback server (pyftpdlib) in the same run. Prints the throughput of
// each; the goal is at least 0.9 of curl's each way.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "ftp/ftp_engine.h"
#include "support/server_process.h"

namespace fs = std::filesystem;

namespace {

constexpr long long kBytes = 50LL * 1024 * 1024;

template <typename Transfer>
double MegabytesPerSecond(Transfer&& transfer) {
    const auto start = std::chrono::steady_clock::now();
    const bool done = transfer();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return done ? kBytes / seconds / 1e6 : 0.0;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

bool Drive(FtpEngine& engine, int started) {
    if (started < 0) {
        return false;
    }
    int code = 1;
    while (code > 0) {
        code = engine.ftpeDriver();
    }
    return code == 0;
}

}  // namespace

int main() {
    const fs::path root = fs::temp_directory_path() / "quillora-ftp-bench";
    fs::remove_all(root);
    fs::create_directories(root / "server");
    fs::create_directories(root / "local");
    {
        std::ofstream file(root / "local" / "big.bin", std::ios::binary);
        const std::string block(1024 * 1024, 'b');
        for (long long written = 0; written < kBytes; written += block.size()) {
            file << block;
        }
    }
    ServerProcess server(QUILLORA_SOURCE_DIR "/tests/ftp/ftpserver.py",
                         {"--home", (root / "server").string()});
    if (server.port() == 0) {
        std::printf("the FTP server did not start\n");
        return 1;
    }
    const std::string address = "127.0.0.1:" + std::to_string(server.port());

    FtpEngine engine((root / "conftp.log").string());
    engine.ftpeAttach();
    if (engine.ftpeConnect(address, "quill", "secret") < 0) {
        std::printf("could not log in\n");
        return 1;
    }
    engine.ftpeSetLocalDir((root / "local").string());
    const std::string url = "ftp://quill:secret@" + address + "/";
    const std::string local = (root / "local").string() + "/";
    // Turn about, five times each, so that neither side has the warmer caches.
    std::vector<double> up, down, curlUp, curlDown;
    for (int run = 0; run < 5; ++run) {
        up.push_back(
            MegabytesPerSecond([&] { return Drive(engine, engine.ftpePutFile("big.bin")); }));
        curlUp.push_back(MegabytesPerSecond([&] {
            return std::system(("curl -s -T " + local + "big.bin " + url + "curl.bin").c_str()) ==
                   0;
        }));
        down.push_back(
            MegabytesPerSecond([&] { return Drive(engine, engine.ftpeGetFile("curl.bin")); }));
        curlDown.push_back(MegabytesPerSecond([&] {
            return std::system(
                       ("curl -s -o " + local + "fetched.bin " + url + "big.bin").c_str()) == 0;
        }));
    }
    engine.ftpeClose();
    engine.ftpeRelease();
    std::printf(
        "50 MB over FTP on loopback, medians of 5: upload %.0f MB/s (curl %.0f, ratio "
        "%.2f); download %.0f MB/s (curl %.0f, ratio %.2f)\n",
        Median(up), Median(curlUp), Median(up) / Median(curlUp), Median(down), Median(curlDown),
        Median(down) / Median(curlDown));
    fs::remove_all(root);
    return 0;
}
