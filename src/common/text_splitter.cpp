#include "common/text_splitter.h"

#include <utility>

TextSplitter::TextSplitter(std::string text, std::string separator)
    : text_(std::move(text)), separator_(std::move(separator)) {
    lastPieceGiven_ = separator_.empty() || text_.find(separator_) == std::string::npos;
}

bool TextSplitter::hasMore() const {
    return !lastPieceGiven_;
}

std::string TextSplitter::next() {
    if (lastPieceGiven_) {
        return std::string();
    }
    const std::size_t at = text_.find(separator_, position_);
    if (at == std::string::npos) {
        lastPieceGiven_ = true;
        return text_.substr(position_);
    }
    std::string piece = text_.substr(position_, at - position_);
    position_ = at + separator_.size();
    return piece;
}
