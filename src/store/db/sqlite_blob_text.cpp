#include "store/db/sqlite_blob_text.h"

#include <array>
#include <new>
#include <stdexcept>

#include "store/db/sqlite_exception.h"

namespace {

constexpr unsigned char kEscape = 0x01;
constexpr unsigned char kQuote = 39;

// Runs a step that allocates; running out of memory becomes the layer's own failure.
template <typename Step>
void WithMemoryGuard(Step&& step) {
    try {
        step();
    } catch (const std::bad_alloc&) {
        throw SqliteException(SqliteException::kLayerError, "Cannot allocate memory");
    } catch (const std::length_error&) {
        throw SqliteException(SqliteException::kLayerError, "Cannot allocate memory");
    }
}

// The offset for which the fewest bytes land on 0, 1 or the quote after subtraction.
unsigned char ChooseOffset(std::string_view bytes) {
    std::array<std::size_t, 256> count{};
    for (const char c : bytes) {
        ++count[static_cast<unsigned char>(c)];
    }
    std::size_t best = bytes.size();
    unsigned char offset = 1;
    for (unsigned candidate = 1; candidate < 256; ++candidate) {
        if (candidate == kQuote) {
            continue;
        }
        const std::size_t sum =
            count[candidate] + count[(candidate + 1) & 0xFF] + count[(candidate + kQuote) & 0xFF];
        if (sum < best) {
            best = sum;
            offset = static_cast<unsigned char>(candidate);
            if (sum == 0) {
                break;
            }
        }
    }
    return offset;
}

}  // namespace

std::string SqliteBlobText::Encode(std::string_view bytes) {
    if (bytes.empty()) {
        return "x";
    }
    const unsigned char offset = ChooseOffset(bytes);
    std::string text;
    text.resize(bytes.size() * 257 / 254 + 3);
    auto* out = reinterpret_cast<unsigned char*>(text.data());
    *out++ = offset;
    for (const char c : bytes) {
        const auto x = static_cast<unsigned char>(static_cast<unsigned char>(c) - offset);
        if (x == 0 || x == kEscape || x == kQuote) {
            *out++ = kEscape;
            *out++ = x == 0 ? 1 : x == kEscape ? 2 : 3;
        } else {
            *out++ = x;
        }
    }
    text.resize(static_cast<std::size_t>(out - reinterpret_cast<unsigned char*>(text.data())));
    return text;
}

bool SqliteBlobText::Decode(std::string_view text, std::string& bytes) {
    bytes.resize(text.empty() ? 0 : text.size() - 1);
    if (text.empty()) {
        return true;
    }
    const auto offset = static_cast<unsigned char>(text[0]);
    const auto* in = reinterpret_cast<const unsigned char*>(text.data()) + 1;
    const auto* end = reinterpret_cast<const unsigned char*>(text.data()) + text.size();
    auto* out = reinterpret_cast<unsigned char*>(bytes.data());
    auto* const start = out;
    while (in < end) {
        unsigned char x = *in++;
        if (x == kEscape) {
            if (in == end) {
                return false;
            }
            const unsigned char code = *in++;
            if (code == 1) {
                x = 0;
            } else if (code == 2) {
                x = kEscape;
            } else if (code == 3) {
                x = kQuote;
            } else {
                return false;
            }
        }
        *out++ = static_cast<unsigned char>(offset + x);
    }
    bytes.resize(static_cast<std::size_t>(out - start));
    return true;
}

void SqliteBlobText::setRaw(const void* bytes, std::size_t length) {
    WithMemoryGuard([&] { buffer_.assign(static_cast<const char*>(bytes), length); });
    isEncoded_ = false;
}

void SqliteBlobText::setEncoded(std::string_view text) {
    WithMemoryGuard([&] { buffer_.assign(text.substr(0, text.find('\0'))); });
    isEncoded_ = true;
}

const std::string& SqliteBlobText::encoded() {
    if (!isEncoded_) {
        WithMemoryGuard([&] { buffer_ = Encode(buffer_); });
        isEncoded_ = true;
    }
    return buffer_;
}

const std::string& SqliteBlobText::raw() {
    if (isEncoded_) {
        std::string bytes;
        bool decoded = false;
        WithMemoryGuard([&] { decoded = Decode(buffer_, bytes); });
        if (!decoded) {
            throw SqliteException(SqliteException::kLayerError, "Cannot decode binary");
        }
        buffer_ = std::move(bytes);
        isEncoded_ = false;
    }
    return buffer_;
}
