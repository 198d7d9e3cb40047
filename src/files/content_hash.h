#pragma once

#include <string>
#include <string_view>

// What tells a file's content from another's for the record of what was sent: XXH3-128, in
// lower-case hexadecimal (32 digits). It detects change; it does not guard against anyone.
// Empty when the file cannot be read.
std::string ContentHashOfFile(const std::string& path);
// The same hash of a text.
std::string ContentHashOfText(std::string_view text);
// The SHA-256 of a file, as records of earlier versions hold it (64 digits).
std::string Sha256OfFile(const std::string& path);
// The SHA-256 of a text, in the same form.
std::string Sha256OfText(std::string_view text);
// The bytes in base64, as data addresses and known_hosts lines write them.
std::string Base64Of(std::string_view bytes);
