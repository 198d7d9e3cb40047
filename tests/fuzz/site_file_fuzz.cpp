// libFuzzer target for the site file reader: any file must be refused or read whole, without a
// crash, a hang or a name that leaves its folder.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

#include "site/imported_design.h"
#include "site/site_archive.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string file =
        "/tmp/quillora-site-fuzz-" + std::to_string(getpid()) + ".qsite";
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    SiteArchive archive;
    std::string refusal;
    if (archive.open(file, refusal)) {
        for (const std::string& page : archive.pages()) {
            if (!IsPlainFileName(page)) {
                std::abort();
            }
        }
    } else if (refusal.empty()) {
        std::abort();
    }
    return 0;
}
