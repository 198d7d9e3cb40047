// libFuzzer target for what FTP servers send as listings: any lines, as MLSD facts or LIST
// lines, must parse without a crash or undefined behaviour.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "transfer/ftp_listing.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    ParseFtpListing(text);
    std::vector<FtpEntry> entries;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        const std::string line = text.substr(start, end - start);
        entries.push_back(ParseListingLine(line, true));
        entries.push_back(ParseListingLine(line, false));
        start = end + 1;
    }
    FtpListEntries(entries);
    return 0;
}
