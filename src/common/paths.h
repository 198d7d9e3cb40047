#pragma once

#include <functional>
#include <string>
#include <string_view>

// Paths use the platform's separator; every other part of the program builds paths with these
// helpers instead of writing a separator itself.
#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

bool IsPathSeparator(char c);

// folder + separator + name; no doubled separator when the folder already ends with one.
std::string JoinPath(std::string_view folder, std::string_view name);

// The pieces of a path: drive ("C:" on Windows, always empty elsewhere), folder with its
// trailing separator, name without extension, extension with its dot.
struct PathParts {
    std::string drive;
    std::string folder;
    std::string name;
    std::string extension;
};
PathParts SplitPath(std::string_view path);

// The text after the last separator.
std::string FileNameOf(std::string_view path);

// The text before the last separator (the separator itself left out).
std::string ParentFolderOf(std::string_view path);

// The path without trailing separators, except where that would leave nothing (the root).
std::string WithoutTrailingSeparator(std::string_view path);

// Path equality as the platform's file system sees it: case-insensitive on Windows only.
bool PathsEqual(std::string_view a, std::string_view b);

// The path when the test takes it, else the first of "name-2.ext", "name-3.ext" ... beside it
// that the test takes: how a file gets a name of its own next to others.
std::string NumberedVariant(const std::string& path,
                            const std::function<bool(const std::string&)>& takes);
// The path, or the first numbered variant beside it, that names nothing yet.
std::string FreePath(const std::string& path);
