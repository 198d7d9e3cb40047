#include "store/rich_text_block.h"

#include <algorithm>

#include "store/db/sqlite_blob_text.h"

namespace {

constexpr std::size_t kBlockSize = 10240;

}  // namespace

std::string EncodeRichTextBlock(const std::string& text) {
    std::string block = text;
    block.resize(std::max(kBlockSize, text.size() + 1), '\0');
    return SqliteBlobText::Encode(block);
}

std::string DecodeRichTextBlock(const std::string& stored) {
    std::string block;
    if (!SqliteBlobText::Decode(stored, block)) {
        return std::string();
    }
    return block.substr(0, block.find('\0'));
}
