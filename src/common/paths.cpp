#include "common/paths.h"

#include <filesystem>

#include "common/text_case.h"

bool IsPathSeparator(char c) {
#ifdef _WIN32
    return c == '\\' || c == '/';
#else
    return c == '/';
#endif
}

namespace {

std::size_t LastSeparator(std::string_view path) {
    for (std::size_t i = path.size(); i > 0; --i) {
        if (IsPathSeparator(path[i - 1])) {
            return i - 1;
        }
    }
    return std::string_view::npos;
}

}  // namespace

std::string JoinPath(std::string_view folder, std::string_view name) {
    std::string joined(folder);
    if (joined.empty() || !IsPathSeparator(joined.back())) {
        joined += kPathSeparator;
    }
    joined += name;
    return joined;
}

PathParts SplitPath(std::string_view path) {
    PathParts parts;
#ifdef _WIN32
    if (path.size() >= 2 && path[1] == ':') {
        parts.drive = std::string(path.substr(0, 2));
        path.remove_prefix(2);
    }
#endif
    const std::size_t separator = LastSeparator(path);
    std::string_view file = path;
    if (separator != std::string_view::npos) {
        parts.folder = std::string(path.substr(0, separator + 1));
        file = path.substr(separator + 1);
    }
    const std::size_t dot = file.rfind('.');
    if (dot == std::string_view::npos) {
        parts.name = std::string(file);
    } else {
        parts.name = std::string(file.substr(0, dot));
        parts.extension = std::string(file.substr(dot));
    }
    return parts;
}

std::string FileNameOf(std::string_view path) {
    const std::size_t separator = LastSeparator(path);
    return std::string(separator == std::string_view::npos ? path : path.substr(separator + 1));
}

std::string ParentFolderOf(std::string_view path) {
    const std::size_t separator = LastSeparator(path);
    return separator == std::string_view::npos ? std::string()
                                               : std::string(path.substr(0, separator));
}

std::string WithoutTrailingSeparator(std::string_view path) {
    while (path.size() > 1 && IsPathSeparator(path.back())) {
        path.remove_suffix(1);
    }
    return std::string(path);
}

bool PathsEqual(std::string_view a, std::string_view b) {
#ifdef _WIN32
    return EqualIgnoringCase(a, b);
#else
    return a == b;
#endif
}

std::string NumberedVariant(const std::string& path,
                            const std::function<bool(const std::string&)>& takes) {
    const std::string folder = ParentFolderOf(path);
    const std::string name = FileNameOf(path);
    const std::size_t dot = name.rfind('.');
    const std::string stem = dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
    const std::string extension = stem.size() == name.size() ? std::string() : name.substr(dot);
    std::string candidate = path;
    for (int number = 2; !takes(candidate); ++number) {
        candidate = JoinPath(folder, stem + "-" + std::to_string(number) + extension);
    }
    return candidate;
}

std::string FreePath(const std::string& path) {
    return NumberedVariant(path, [](const std::string& name) {
        std::error_code unused;
        return !std::filesystem::exists(name, unused);
    });
}
