#include "transfer/ftp_listing.h"

#include <algorithm>

#include "common/text_case.h"

namespace {

std::vector<std::string> Words(const std::string& line, std::size_t count, std::string& rest) {
    std::vector<std::string> words;
    std::size_t at = 0;
    while (words.size() < count) {
        at = line.find_first_not_of(' ', at);
        if (at == std::string::npos) {
            break;
        }
        const std::size_t end = line.find(' ', at);
        words.push_back(line.substr(at, end == std::string::npos ? std::string::npos : end - at));
        at = end == std::string::npos ? line.size() : end;
    }
    const std::size_t start = line.find_first_not_of(' ', at);
    rest = start == std::string::npos ? std::string() : line.substr(start);
    return words;
}

}  // namespace

std::string WithoutLineEnd(std::string line) {
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) {
        line.pop_back();
    }
    return line;
}

FtpEntry ParseListingLine(const std::string& text, bool facts) {
    const std::string line = WithoutLineEnd(text);
    if (facts) {
        const std::size_t space = line.find(' ');
        if (space != std::string::npos) {
            const std::string list = LowerCase(line.substr(0, space));
            FtpEntry entry{line.substr(space + 1), std::nullopt, std::nullopt};
            const std::size_t size = list.find("size=");
            if (size != std::string::npos && (size == 0 || list[size - 1] == ';')) {
                entry.size = std::atoll(list.c_str() + size + 5);
            }
            if (list.find("type=dir;") != std::string::npos ||
                list.find("type=cdir;") != std::string::npos ||
                list.find("type=pdir;") != std::string::npos) {
                entry.folder = true;
            } else if (list.find("type=file;") != std::string::npos) {
                entry.folder = false;
            }
            return entry;
        }
        return {line, std::nullopt, std::nullopt};
    }
    std::string name;
    const std::vector<std::string> words = Words(line, 8, name);
    if (words.size() == 8 && !name.empty() && words[0].size() == 10 &&
        (words[0][0] == 'd' || words[0][0] == '-')) {
        return {name, words[0][0] == 'd', std::atoll(words[4].c_str())};
    }
    // A link ("name -> target") may stand for a file or a folder: its kind stays unknown.
    const std::size_t arrow = name.find(" -> ");
    if (words.size() == 8 && words[0].size() == 10 && words[0][0] == 'l' && arrow > 0 &&
        arrow != std::string::npos) {
        return {name.substr(0, arrow), std::nullopt, std::nullopt};
    }
    // The other common form: "01-02-24  10:00AM  <DIR>  name".
    const std::vector<std::string> dos = Words(line, 3, name);
    if (dos.size() == 3 && !name.empty() &&
        (dos[2] == "<DIR>" || std::isdigit(static_cast<unsigned char>(dos[2][0])))) {
        return {name, dos[2] == "<DIR>",
                dos[2] == "<DIR>" ? std::nullopt
                                  : std::optional<long long>(std::atoll(dos[2].c_str()))};
    }
    return {line, std::nullopt, std::nullopt};
}

std::vector<std::string> FtpListEntries(const std::vector<FtpEntry>& entries) {
    std::vector<std::string> list;
    for (const FtpEntry& entry : entries) {
        if (entry.name.empty() || entry.name[0] == '.') {
            continue;
        }
        const bool folder = entry.folder.value_or(entry.name.find('.') == std::string::npos);
        list.push_back(folder ? entry.name + "  [FOLDER]" : entry.name);
    }
    return list;
}

std::vector<std::string> ParseFtpListing(const std::string& text) {
    std::vector<FtpEntry> entries;
    std::size_t start = 0;
    for (std::size_t end = text.find('\n'); end != std::string::npos;
         end = text.find('\n', start)) {
        const std::string piece = text.substr(start, end - start);
        start = end + 1;
        if (!piece.empty()) {
            entries.push_back({piece.substr(0, piece.size() - 1), std::nullopt, std::nullopt});
        }
    }
    return FtpListEntries(entries);
}

std::vector<std::pair<std::string, std::string>> NotHeldWhole(const std::vector<FtpEntry>& listing,
                                                              const std::vector<SentFile>& sent) {
    std::vector<std::pair<std::string, std::string>> missing;
    for (const SentFile& file : sent) {
        const auto held = std::find_if(listing.begin(), listing.end(), [&](const FtpEntry& entry) {
            return entry.name == file.name;
        });
        if (held == listing.end()) {
            missing.emplace_back(file.name, "the server holds no such file");
        } else if (held->size && *held->size != file.bytes) {
            missing.emplace_back(file.name, "the server holds " + std::to_string(*held->size) +
                                                " of " + std::to_string(file.bytes) + " bytes");
        }
    }
    return missing;
}
