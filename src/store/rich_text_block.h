#pragma once

#include <string>

// A rich text as it is stored: the text, a NUL and zero bytes up to a block of 10240 bytes
// (a longer text gets a block of its length plus one), encoded as quotable text.
std::string EncodeRichTextBlock(const std::string& text);
// The text of a stored block, up to its first NUL; empty when the value is not an encoding.
std::string DecodeRichTextBlock(const std::string& stored);
