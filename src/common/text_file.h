#pragma once

#include <optional>
#include <string>
#include <vector>

// Generated files are created or truncated and written in one go, byte for byte.
bool WriteTextFile(const std::string& path, const std::string& text);

// The whole of a file, byte for byte; nothing when it cannot be opened.
std::optional<std::string> ReadTextFile(const std::string& path);

// The lines of a text file without their line ends (LF or CR LF); nothing when it cannot be
// opened.
std::optional<std::vector<std::string>> ReadTextLines(const std::string& path);
