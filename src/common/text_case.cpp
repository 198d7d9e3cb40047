#include "common/text_case.h"

#include <algorithm>
#include <cctype>

namespace {

char Lower(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

bool SameLetter(char a, char b) {
    return Lower(a) == Lower(b);
}

bool LetterBefore(char a, char b) {
    return static_cast<unsigned char>(Lower(a)) < static_cast<unsigned char>(Lower(b));
}

}  // namespace

std::string LowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), Lower);
    return text;
}

std::string UpperCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](char c) {
        return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    });
    return text;
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), SameLetter);
}

bool StartsWithIgnoringCase(std::string_view text, std::string_view start) {
    return text.size() >= start.size() && EqualIgnoringCase(text.substr(0, start.size()), start);
}

bool AlphabeticallyBefore(std::string_view a, std::string_view b) {
    if (std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), LetterBefore)) {
        return true;
    }
    if (std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(), LetterBefore)) {
        return false;
    }
    return a < b;
}
