#include "common/fields.h"

std::string FieldAt(std::string_view text, int n, std::string_view separator) {
    if (n < 0 || separator.empty()) {
        return n == 0 ? std::string(text) : std::string();
    }
    std::size_t start = 0;
    for (int i = 0; i < n; ++i) {
        const std::size_t at = text.find(separator, start);
        if (at == std::string_view::npos) {
            return std::string();
        }
        start = at + separator.size();
    }
    const std::size_t end = text.find(separator, start);
    return std::string(text.substr(start, end == std::string_view::npos ? end : end - start));
}

int FieldCount(std::string_view text, std::string_view separator) {
    if (separator.empty()) {
        return 1;
    }
    int count = 1;
    for (std::size_t at = text.find(separator); at != std::string_view::npos;
         at = text.find(separator, at + separator.size())) {
        ++count;
    }
    return count;
}

std::vector<std::string> SplitFields(std::string_view text, std::string_view separator) {
    std::vector<std::string> fields;
    if (separator.empty()) {
        fields.emplace_back(text);
        return fields;
    }
    std::size_t start = 0;
    for (std::size_t at = text.find(separator); at != std::string_view::npos;
         at = text.find(separator, start)) {
        fields.emplace_back(text.substr(start, at - start));
        start = at + separator.size();
    }
    fields.emplace_back(text.substr(start));
    return fields;
}

std::string EntryAt(const std::vector<std::string>& list, std::size_t index) {
    return index < list.size() ? list[index] : std::string();
}

std::string JoinFields(const std::vector<std::string>& fields, std::string_view separator) {
    std::string joined;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) {
            joined += separator;
        }
        joined += fields[i];
    }
    return joined;
}
