// libFuzzer target for what a web server answers: the reply head's status and the body's
// decoding (gzip, deflate) must never crash, whatever the bytes.
#include <cstddef>
#include <cstdint>
#include <string>

#include "hosting/http_client.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string reply(reinterpret_cast<const char*>(data), size);
    const std::size_t end = reply.find("\r\n\r\n");
    const std::string header = end == std::string::npos ? reply : reply.substr(0, end + 4);
    const std::string body = end == std::string::npos ? std::string() : reply.substr(end + 4);
    HttpStatus(header);
    DecodedBody(header, body);
    SplitUrl(reply);
    return 0;
}
