#pragma once

#include <string_view>

// Whether the text holds the part anywhere; the commands and markers of this program are found
// this way, case and all.
inline bool Contains(std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
}

// Whether the text holds the part at that place (its start unless told).
inline bool StartsWith(std::string_view text, std::string_view part, std::size_t at = 0) {
    return text.size() >= at + part.size() && text.compare(at, part.size(), part) == 0;
}

// Whether the text ends with the part.
inline bool EndsWith(std::string_view text, std::string_view part) {
    return text.size() >= part.size() &&
           text.compare(text.size() - part.size(), part.size(), part) == 0;
}
