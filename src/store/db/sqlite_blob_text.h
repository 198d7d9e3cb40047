#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Arbitrary bytes as a text that fits in a quoted SQL literal: no NUL and no single quote.
// The first byte is an offset chosen so that as few bytes as possible need the 0x01 escape.
class SqliteBlobText {
  public:
    SqliteBlobText() = default;
    virtual ~SqliteBlobText() = default;

    void setRaw(const void* bytes, std::size_t length);
    void setRaw(std::string_view bytes) { setRaw(bytes.data(), bytes.size()); }
    // Text up to its first NUL, as SQLite hands a column back.
    void setEncoded(std::string_view text);

    const std::string& encoded();
    const std::string& raw();
    std::size_t rawLength() { return raw().size(); }

    static std::string Encode(std::string_view bytes);
    // False when the text is not a valid encoding; output is then unspecified.
    static bool Decode(std::string_view text, std::string& bytes);

  private:
    std::string buffer_;
    bool isEncoded_ = false;
};
