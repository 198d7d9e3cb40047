// Upload and download of a 200 MB file through the uploader's FTP layer against the curl
// command on the same loopback server (pyftpdlib) in the same run, and a 200 MB site (three
// pages and ten pictures) sent by quillora-publish's FTP upload against curl sending the same
// files. Prints the throughputs; the goal is at least 0.9 of curl's. Then a site of 1,000 files
// sent once and sent again unchanged: the second run, which only lists and compares, must take
// under 2 s. Last, 200 MB up and down over SFTP against `curl -T sftp://…` and `curl sftp://…`
// on Debian's sshd on loopback; the goal there is at least 0.9 of curl's too.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "publish/site_upload.h"
#include "store/db/sqlite_database.h"
#include "support/server_process.h"
#include "support/ssh_server.h"
#include "transfer/ftp_engine.h"

namespace fs = std::filesystem;

namespace {

constexpr long long kBytes = 200LL * 1024 * 1024;

template <typename Transfer>
double MegabytesPerSecond(Transfer&& transfer) {
    // What earlier runs wrote is on the disk first: its write-back does not fall into this one.
    sync();
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

// Three pages and ten pictures of 5 MB, sent by the site upload and by curl in one run each.
std::pair<double, double> SiteThroughput(const fs::path& root, const std::string& address) {
    const fs::path site = root / "site";
    fs::create_directories(site);
    std::string pictures;
    std::vector<std::string> names;
    for (int i = 0; i < 10; ++i) {
        const std::string name = "picture" + std::to_string(i) + ".jpg";
        std::ofstream(site / name, std::ios::binary) << std::string(kBytes / 10, 'p');
        pictures += "<img src=\"" + name + "\">";
        names.push_back(name);
    }
    SitePages pages{site.string(), root.string(), {}, {}};
    for (const char* page : {"a.html", "b.html", "c.html"}) {
        std::ofstream(site / page) << "<html>" << pictures << "</html>";
        PageRecord record;
        record.fileName = page;
        pages.pages.push_back(record);
        names.push_back(page);
    }
    setenv("QUILLORA_FTP_PASSWORD", "secret", 1);
    SqliteDatabase unused;
    std::string list;
    for (const std::string& name : names) {
        list += (list.empty() ? "" : ",") + (site / name).string();
    }
    // Each run to folders of its own, so that nothing is skipped as already there.
    std::vector<double> ours, curl;
    for (int run = 0; run < 3; ++run) {
        const std::string folder = "site" + std::to_string(run);
        fs::create_directories(root / "server" / folder);
        fs::create_directories(root / "server" / ("curl" + folder));
        std::ostringstream progress;
        const UploadTarget target{false,        "quill",    address,
                                  folder,       false,      std::string("secret"),
                                  std::nullopt, "gh-pages", std::nullopt};
        ours.push_back(MegabytesPerSecond([&] {
            return UploadSite(pages, target, unused, HostingAddresses::Service(), {}, progress) ==
                   0;
        }));
        curl.push_back(MegabytesPerSecond([&] {
            return std::system(("curl -s -T \"{" + list + "}\" ftp://quill:secret@" + address +
                                "/curl" + folder + "/")
                                   .c_str()) == 0;
        }));
    }
    return {Median(ours), Median(curl)};
}

// The seconds of a second, unchanged upload of a site of a page and 999 small pictures.
double UnchangedSiteSeconds(const fs::path& root, const std::string& address) {
    const fs::path site = root / "many";
    fs::create_directories(site);
    fs::create_directories(root / "server" / "many");
    std::string page = "<html>";
    for (int i = 0; i < 999; ++i) {
        const std::string name = "p" + std::to_string(i) + ".gif";
        std::ofstream(site / name, std::ios::binary) << std::string(2048 + i, 'g');
        page += "<img src=\"" + name + "\">";
    }
    std::ofstream(site / "index.html") << page << "</html>";
    PageRecord record;
    record.fileName = "index.html";
    const SitePages pages{site.string(), root.string(), {record}, {}};
    const UploadTarget target{false,        "quill",    address,
                              "many",       false,      std::string("secret"),
                              std::nullopt, "gh-pages", std::nullopt};
    SqliteDatabase unused;
    std::ostringstream progress;
    if (UploadSite(pages, target, unused, HostingAddresses::Service(), {}, progress) != 0) {
        std::printf("the first upload failed:\n%s\n", progress.str().substr(0, 2000).c_str());
        return -1;
    }
    const auto start = std::chrono::steady_clock::now();
    progress.str("");
    const int status = UploadSite(pages, target, unused, HostingAddresses::Service(), {}, progress);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (status != 0 || progress.str().find("0 files sent, 1000 skipped") == std::string::npos) {
        const std::string text = progress.str();
        std::printf("the second upload sent files:\n%s\n",
                    text.substr(text.size() > 2000 ? text.size() - 2000 : 0).c_str());
        return -1;
    }
    return seconds;
}

struct Rates {
    double up = 0;
    double curlUp = 0;
    double down = 0;
    double curlDown = 0;
};

// 200 MB put and got through the engine's SFTP and by the curl command, turn about.
Rates SftpThroughput(const fs::path& root) {
    const fs::path home = root / "home";
    fs::create_directories(home / ".ssh");
    setenv("HOME", home.c_str(), 1);
    SshServer server;
    if (server.port() == 0) {
        std::printf("sshd did not start\n");
        return {};
    }
    std::ofstream(home / ".ssh/known_hosts") << server.knownHostsLine() << "\n";
    const std::string folder = server.ownedFolder("bench");
    FtpEngine engine((root / "conftp.log").string());
    engine.ftpeAttach();
    if (engine.ftpeConnect("sftp://" + server.address(), SshServer::kUser, SshServer::kPassword) <
            0 ||
        engine.ftpeSetServerDir(folder) < 0) {
        std::printf("could not log in over SFTP\n");
        return {};
    }
    engine.ftpeSetLocalDir((root / "local").string());
    const std::string url = "sftp://" + server.address() + folder + "/";
    const std::string curl =
        "curl -s -u " + std::string(SshServer::kUser) + ":" + SshServer::kPassword + " ";
    const std::string local = (root / "local").string() + "/";
    std::vector<double> up, down, curlUp, curlDown;
    for (int run = 0; run < 3; ++run) {
        up.push_back(
            MegabytesPerSecond([&] { return Drive(engine, engine.ftpePutFile("big.bin")); }));
        curlUp.push_back(MegabytesPerSecond([&] {
            return std::system((curl + "-T " + local + "big.bin " + url + "curl.bin").c_str()) == 0;
        }));
        down.push_back(
            MegabytesPerSecond([&] { return Drive(engine, engine.ftpeGetFile("curl.bin")); }));
        curlDown.push_back(MegabytesPerSecond([&] {
            return std::system((curl + "-o " + local + "fetched.bin " + url + "big.bin").c_str()) ==
                   0;
        }));
    }
    engine.ftpeClose();
    engine.ftpeRelease();
    return {Median(up), Median(curlUp), Median(down), Median(curlDown)};
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
    ServerProcess server(QUILLORA_SOURCE_DIR "/tests/transfer/ftpserver.py",
                         {"--home", (root / "server").string()});
    if (server.port() == 0) {
        std::printf("the FTP server did not start\n");
        return 1;
    }
    const std::string address = "127.0.0.1:" + std::to_string(server.port());

    FtpEngine engine((root / "conftp.log").string());
    engine.ftpeAttach();
    engine.allowPlain(true);
    if (engine.ftpeConnect(address, "quill", "secret") < 0) {
        std::printf("could not log in\n");
        return 1;
    }
    engine.ftpeSetLocalDir((root / "local").string());
    const std::string url = "ftp://quill:secret@" + address + "/";
    const std::string local = (root / "local").string() + "/";
    // Turn about, three times each, so that neither side has the warmer caches. Each upload
    // makes a new file in a folder of its own: replacing a large file costs the server its
    // removal, which says nothing of the transfer.
    std::vector<double> up, down, curlUp, curlDown;
    for (int run = 0; run < 3; ++run) {
        const std::string folder = "up" + std::to_string(run);
        fs::create_directories(root / "server" / folder);
        fs::create_directories(root / "server" / ("curl" + folder));
        engine.ftpeSetServerDir("/" + folder);
        up.push_back(
            MegabytesPerSecond([&] { return Drive(engine, engine.ftpePutFile("big.bin")); }));
        engine.ftpeSetServerDir("/");
        curlUp.push_back(MegabytesPerSecond([&] {
            return std::system(("curl -s -T " + local + "big.bin " + url + "curl" + folder + "/")
                                   .c_str()) == 0;
        }));
        if (run == 0) {
            fs::copy_file(root / "server" / "curlup0" / "big.bin", root / "server" / "curl.bin");
            fs::copy_file(root / "local" / "big.bin", root / "server" / "big.bin");
        }
        down.push_back(
            MegabytesPerSecond([&] { return Drive(engine, engine.ftpeGetFile("curl.bin")); }));
        curlDown.push_back(MegabytesPerSecond([&] {
            return std::system(
                       ("curl -s -o " + local + "fetched.bin " + url + "big.bin").c_str()) == 0;
        }));
    }
    engine.ftpeClose();
    engine.ftpeRelease();
    const auto [site, curlSite] = SiteThroughput(root, address);
    std::printf(
        "200 MB site by quillora-publish, medians of 3: %.0f MB/s (curl %.0f, ratio %.2f)\n", site,
        curlSite, site / curlSite);
    std::printf("1,000-file site sent again unchanged: %.2f s (goal under 2 s)\n",
                UnchangedSiteSeconds(root, address));
    std::printf(
        "200 MB over FTP on loopback, medians of 3: upload %.0f MB/s (curl %.0f, ratio "
        "%.2f); download %.0f MB/s (curl %.0f, ratio %.2f)\n",
        Median(up), Median(curlUp), Median(up) / Median(curlUp), Median(down), Median(curlDown),
        Median(down) / Median(curlDown));
    const Rates sftp = SftpThroughput(root);
    std::printf(
        "200 MB over SFTP on loopback, medians of 3: upload %.0f MB/s (curl %.0f, ratio %.2f); "
        "download %.0f MB/s (curl %.0f, ratio %.2f)\n",
        sftp.up, sftp.curlUp, sftp.up / sftp.curlUp, sftp.down, sftp.curlDown,
        sftp.down / sftp.curlDown);
    fs::remove_all(root);
    return 0;
}
