#pragma once

#include <string>
#include <string_view>

// UTF-8 to code points and back. Each byte that does not belong to a valid sequence (a stray
// continuation, a cut or overlong sequence, a surrogate) becomes U+FFFD.
std::u32string DecodeUtf8(std::string_view utf8);
std::string EncodeUtf8(std::u32string_view text);
