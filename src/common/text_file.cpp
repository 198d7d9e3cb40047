#include "common/text_file.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

bool WriteWhole(const std::string& path, const std::string& text, bool removeFirst) {
    namespace fs = std::filesystem;
    std::error_code error;
    // A read-only file stays as it is, whoever writes (root may write it anyway).
    const fs::file_status status = fs::status(path, error);
    if (!error && fs::exists(status) &&
        (status.permissions() & fs::perms::owner_write) == fs::perms::none) {
        return false;
    }
    const fs::path target(path);
    const fs::path part = target.parent_path() / ("." + target.filename().string() + ".part");
    {
        std::ofstream out(part, std::ios::binary | std::ios::trunc);
        if (out) {
            out.write(text.data(), static_cast<std::streamsize>(text.size()));
            out.close();
        }
        if (!out) {
            fs::remove(part, error);
            return false;
        }
    }
    // Only a file is taken away: anything else in its place makes the rename fail, as it would.
    if (removeFirst && fs::is_regular_file(status)) {
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
