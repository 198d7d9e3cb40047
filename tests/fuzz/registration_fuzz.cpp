// libFuzzer target for the hosting service's answer to a folder registration.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

#include "hosting/registration_reply.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::optional<Registration> folder =
        ParseRegistrationReply(std::string(reinterpret_cast<const char*>(data), size));
    if (folder && (folder->folderId.empty() || folder->scriptAddress.empty())) {
        std::abort();
    }
    return 0;
}
