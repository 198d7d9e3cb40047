// libFuzzer target for the recovery file: whatever a crash or a disk left in it must read
// without a crash, and what reads must write back to a text that reads the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

#include "page/design_text.h"
#include "page/page_record.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::optional<PageRecord> page =
        ParseDesignText(std::string(reinterpret_cast<const char*>(data), size));
    if (page) {
        const std::string again = DesignText(*page);
        const std::optional<PageRecord> reread = ParseDesignText(again);
        if (!reread || DesignText(*reread) != again) {
            std::abort();
        }
    }
    return 0;
}
