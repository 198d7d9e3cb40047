#pragma once

#include <optional>
#include <string>
#include <vector>

// Generated files are written byte for byte, whole or not at all: into a hidden part file
// beside the target, then renamed over it, so a write cut short keeps the old file. A
// read-only file is not replaced.
bool WriteTextFile(const std::string& path, const std::string& text);

// The whole of a file, byte for byte; nothing when it cannot be opened.
std::optional<std::string> ReadTextFile(const std::string& path);

// The lines of a text file without their line ends (LF or CR LF); nothing when it cannot be
// opened.
std::optional<std::vector<std::string>> ReadTextLines(const std::string& path);
