// libFuzzer target for a bucket store's listing: any answer must be read without a crash, and
// a key or token read from it must be text the answer held.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "transfer/s3_listing.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string xml(reinterpret_cast<const char*>(data), size);
    const S3ListingPage page = ReadS3Listing(xml);
    for (const auto& [key, tag] : page.etags) {
        if (key.size() > xml.size() || tag.size() > xml.size()) {
            std::abort();
        }
    }
    if (page.next && page.next->size() > xml.size()) {
        std::abort();
    }
    return 0;
}
