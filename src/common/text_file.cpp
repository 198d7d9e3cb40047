#include "common/text_file.h"

#include <filesystem>
#include <fstream>
#include <iterator>

bool WriteTextFile(const std::string& path, const std::string& text) {
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
    fs::rename(part, target, error);
    if (error) {
        std::error_code ignored;
        fs::remove(part, ignored);
        return false;
    }
    return true;
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
