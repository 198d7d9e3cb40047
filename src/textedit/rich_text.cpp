#include "textedit/rich_text.h"

#include "common/utf8.h"

#include <algorithm>
#include <tuple>

bool CharFormat::operator==(const CharFormat& other) const {
    return std::tie(face, size, red, green, blue, underline, bold, italic) ==
           std::tie(other.face, other.size, other.red, other.green, other.blue, other.underline,
                    other.bold, other.italic);
}

RichText::RichText(const std::string& utf8, const CharFormat& format) {
    insert(0, utf8, format);
}

std::size_t RichText::clamp(std::size_t position) const {
    return std::min(position, characters_.size());
}

std::size_t RichText::formatIndex(const CharFormat& format) {
    const auto found = std::find(formats_.begin(), formats_.end(), format);
    if (found != formats_.end()) {
        return static_cast<std::size_t>(found - formats_.begin());
    }
    formats_.push_back(format);
    return formats_.size() - 1;
}

std::string RichText::text(std::size_t start, std::size_t end) const {
    start = clamp(start);
    end = std::max(start, clamp(end));
    return EncodeUtf8(std::u32string_view(characters_).substr(start, end - start));
}

CharFormat RichText::format(std::size_t start, std::size_t end) const {
    start = clamp(start);
    if (characters_.empty()) {
        return default_;
    }
    if (clamp(end) > start) {
        return formatAt(start);
    }
    return formatAt(start > 0 ? start - 1 : 0);
}

void RichText::setFormat(std::size_t start, std::size_t end, const CharFormat& format) {
    start = clamp(start);
    end = std::max(start, clamp(end));
    if (start == end) {
        return;
    }
    const std::size_t index = formatIndex(format);
    std::fill(formatOf_.begin() + static_cast<std::ptrdiff_t>(start),
              formatOf_.begin() + static_cast<std::ptrdiff_t>(end), index);
}

void RichText::insert(std::size_t position, const std::string& utf8, const CharFormat& format) {
    replace(position, position, utf8, format);
}

std::size_t RichText::paragraphAt(std::size_t position) const {
    position = clamp(position);
    return static_cast<std::size_t>(
        std::count(characters_.begin(), characters_.begin() + static_cast<std::ptrdiff_t>(position),
                   kParagraphBreak));
}

void RichText::replace(std::size_t start, std::size_t end, const std::string& utf8,
                       const CharFormat& format) {
    start = clamp(start);
    end = std::max(start, clamp(end));
    const std::u32string inserted = DecodeUtf8(utf8);
    // Text added at the end, as a reader builds it, needs no count of the paragraphs.
    const std::size_t paragraph =
        start == characters_.size() ? alignments_.size() - 1 : paragraphAt(start);
    const auto removedBreaks = static_cast<std::size_t>(
        std::count(characters_.begin() + static_cast<std::ptrdiff_t>(start),
                   characters_.begin() + static_cast<std::ptrdiff_t>(end), kParagraphBreak));
    const auto addedBreaks =
        static_cast<std::size_t>(std::count(inserted.begin(), inserted.end(), kParagraphBreak));
    const Alignment kept = alignments_[paragraph];
    alignments_.erase(
        alignments_.begin() + static_cast<std::ptrdiff_t>(paragraph + 1),
        alignments_.begin() + static_cast<std::ptrdiff_t>(paragraph + 1 + removedBreaks));
    alignments_.insert(alignments_.begin() + static_cast<std::ptrdiff_t>(paragraph + 1),
                       addedBreaks, kept);

    const std::size_t index = formatIndex(format);
    characters_.replace(start, end - start, inserted);
    formatOf_.erase(formatOf_.begin() + static_cast<std::ptrdiff_t>(start),
                    formatOf_.begin() + static_cast<std::ptrdiff_t>(end));
    formatOf_.insert(formatOf_.begin() + static_cast<std::ptrdiff_t>(start), inserted.size(),
                     index);
    select(start + inserted.size(), start + inserted.size());
}

void RichText::setAlignment(std::size_t start, std::size_t end, Alignment alignment) {
    const std::size_t first = paragraphAt(start);
    const std::size_t last = paragraphAt(std::max(start, end));
    for (std::size_t paragraph = first; paragraph <= last; ++paragraph) {
        alignments_[paragraph] = alignment;
    }
}

void RichText::setParagraphAlignment(std::size_t paragraph, Alignment alignment) {
    if (paragraph < alignments_.size()) {
        alignments_[paragraph] = alignment;
    }
}

void RichText::select(std::size_t start, std::size_t end) {
    start = clamp(start);
    end = clamp(end);
    selectionStart_ = std::min(start, end);
    selectionEnd_ = std::max(start, end);
}
