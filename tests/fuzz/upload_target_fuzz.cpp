// libFuzzer target for the upload target typed on the command line.
#include <cstddef>
#include <cstdint>
#include <string>

#include "publish/upload_target.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ParseUploadTarget(std::string(reinterpret_cast<const char*>(data), size));
    return 0;
}
