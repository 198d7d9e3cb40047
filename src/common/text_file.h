#pragma once

#include <optional>
#include <string>
#include <vector>

// Generated files are written byte for byte, whole or not at all: into a hidden part file
// beside the target, on the disk before it is renamed over it, so a write cut short or a crash
// keeps the old file. The file keeps its mode, and a file reached through a link is written
// where the link points (the link stays). A read-only file is not replaced.
bool WriteTextFile(const std::string& path, const std::string& text);
// The same for a file the program makes again before every use (the editor page): the old
// file is removed before the whole new one takes its name. A file renamed over another makes
// the file system write it out first, which for a large page costs more than making it.
bool WriteRemadeFile(const std::string& path, const std::string& text);

// The whole of a file, byte for byte; nothing when it cannot be opened.
std::optional<std::string> ReadTextFile(const std::string& path);

// The lines of a text file without their line ends (LF or CR LF); nothing when it cannot be
// opened.
std::optional<std::vector<std::string>> ReadTextLines(const std::string& path);
