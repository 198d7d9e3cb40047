// libFuzzer target for the stored rich-text blocks: any stored value must decode without a
// crash, and any text must come back from its encoding up to its first NUL.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "store/rich_text_block.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    DecodeRichTextBlock(bytes);
    const std::string text = bytes.substr(0, bytes.find('\0'));
    if (DecodeRichTextBlock(EncodeRichTextBlock(text)) != text) {
        std::abort();
    }
    return 0;
}
