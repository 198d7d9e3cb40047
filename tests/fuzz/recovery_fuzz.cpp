// libFuzzer target for the recovery file: whatever a crash or a disk left in it must read
// without a crash, and what reads must write back to a text that reads the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

#include "designer/pages/recovery_text.h"
#include "page/page_record.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::optional<PageRecord> page =
        ParseRecovery(std::string(reinterpret_cast<const char*>(data), size));
    if (page) {
        const std::string again = RecoveryText(*page);
        const std::optional<PageRecord> reread = ParseRecovery(again);
        if (!reread || RecoveryText(*reread) != again) {
            std::abort();
        }
    }
    return 0;
}
