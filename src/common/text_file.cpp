#include "common/text_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

namespace fs = std::filesystem;

// The file a path names, through any links: a page kept as a link is written where the link
// points, and the link stays.
fs::path ThroughLinks(const fs::path& path) {
    fs::path target = path;
    std::error_code error;
    for (int hops = 0; hops < 40 && fs::is_symlink(fs::symlink_status(target, error)); ++hops) {
        const fs::path next = fs::read_symlink(target, error);
        if (error) {
            break;
        }
        target = next.is_absolute() ? next : target.parent_path() / next;
    }
    return target;
}

// Writes the whole text to the descriptor; with durable, it is on the disk before it returns.
bool WriteAll(int file, const std::string& text, bool durable) {
    std::size_t written = 0;
    while (written < text.size()) {
        const ssize_t count = write(file, text.data() + written, text.size() - written);
        if (count <= 0) {
            return false;
        }
        written += static_cast<std::size_t>(count);
    }
    return !durable || fsync(file) == 0;
}

bool WriteWhole(const std::string& path, const std::string& text, bool remade) {
    std::error_code error;
    const fs::path target = ThroughLinks(path);
    // A read-only file stays as it is, whoever writes (root may write it anyway).
    const fs::file_status status = fs::status(target, error);
    const bool exists = !error && fs::exists(status);
    if (exists && (status.permissions() & fs::perms::owner_write) == fs::perms::none) {
        return false;
    }
    const fs::path part = target.parent_path() / ("." + target.filename().string() + ".part");
    const int file = open(part.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    if (file < 0) {
        return false;
    }
    // The file keeps the mode the user gave it.
    bool written =
        !exists || fchmod(file, static_cast<mode_t>(status.permissions() & fs::perms::mask)) == 0;
    // A generated page the program makes again before every use needs no trip to the disk.
    written = written && WriteAll(file, text, !remade);
    written = close(file) == 0 && written;
    if (!written) {
        fs::remove(part, error);
        return false;
    }
    // Only a file is taken away: anything else in its place makes the rename fail, as it would.
    if (remade && fs::is_regular_file(status)) {
        fs::remove(target, error);
    }
    fs::rename(part, target, error);
    if (error) {
        std::error_code ignored;
        fs::remove(part, ignored);
        return false;
    }
    return true;
}

}  // namespace

bool WriteTextFile(const std::string& path, const std::string& text) {
    return WriteWhole(path, text, false);
}

bool WriteRemadeFile(const std::string& path, const std::string& text) {
    return WriteWhole(path, text, true);
}

std::optional<std::string> ReadTextFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    return std::string{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::optional<std::vector<std::string>> ReadTextLines(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(line);
    }
    return lines;
}
