// A site of 1,000 files (200 pages and 800 pictures) published to a Git branch (a bare
// repository through file://) and to an S3-compatible bucket (s3rver on loopback), then
// published again unchanged. Reports each in milliseconds; goal for the unchanged second
// publish: under 1,000 ms to each.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "common/paths.h"
#include "common/text_file.h"
#include "support/server_process.h"
#include "support/temp_folder.h"
#include "transfer/git_branch.h"
#include "transfer/s3_bucket.h"

namespace {

double Milliseconds(const std::chrono::steady_clock::time_point& start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

template <typename Publish>
void Twice(const char* where, Publish&& publish) {
    auto start = std::chrono::steady_clock::now();
    const int first = publish();
    const double firstMs = Milliseconds(start);
    start = std::chrono::steady_clock::now();
    const int second = publish();
    std::printf("%s: first publish %.0f ms (status %d), unchanged second %.0f ms (status %d)\n",
                where, firstMs, first, Milliseconds(start), second);
}

}  // namespace

int main() {
    TempFolder working;
    const std::string site = working / "site";
    std::filesystem::create_directories(site);
    std::vector<std::string> files;
    for (int i = 0; i < 1000; ++i) {
        const bool page = i % 5 == 0;
        const std::string name =
            (page ? "page" : "picture") + std::to_string(i) + (page ? ".html" : ".jpg");
        WriteTextFile(
            JoinPath(site, name),
            std::string(page ? 6000 : 30000, static_cast<char>('a' + i % 26)) + std::to_string(i));
        files.push_back(name);
    }
    std::ostringstream told;

    const std::string remote = working / "remote.git";
    std::system(("git init -q --bare '" + remote + "'").c_str());
    Twice("Git branch (file://)", [&] {
        return PublishToGitBranch(working.path(), {"file://" + remote, "gh-pages"},
                                  {site, files, {}, {}}, {}, told)
            .status;
    });

    TempFolder objects;
    ServerProcess server(QUILLORA_TEST_DATA "/s3/s3server.py", {QUILLORA_S3RVER, objects.path()});
    setenv("AWS_ACCESS_KEY_ID", "S3RVER", 1);
    setenv("AWS_SECRET_ACCESS_KEY", "S3RVER", 1);
    S3Target bucket;
    bucket.bucket = "site";
    bucket.endpoint = "http://127.0.0.1:" + std::to_string(server.port());
    Twice("S3 bucket (s3rver)", [&] {
        return PublishToS3(bucket, {site, files, {}, {}}, {}, told).status;
    });
    return 0;
}
