#include "common/number_text.h"

#include <cstdlib>
#include <string>

int LeadingInt(std::string_view text) {
    const std::string copy(text);
    const long long value = std::strtoll(copy.c_str(), nullptr, 10);
    return static_cast<int>(static_cast<unsigned long long>(value));
}

double LeadingReal(std::string_view text) {
    const std::string copy(text);
    return std::strtod(copy.c_str(), nullptr);
}

std::string_view LeadingDigits(std::string_view text) {
    std::size_t end = 0;
    while (end < text.size() && text[end] >= '0' && text[end] <= '9') {
        ++end;
    }
    return text.substr(0, end);
}
