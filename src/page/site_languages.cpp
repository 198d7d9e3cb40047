#include "page/site_languages.h"

#include <algorithm>
#include <cctype>

#include "common/fields.h"
#include "common/text_case.h"

namespace {

bool Subtag(const std::string& part, std::size_t shortest, std::size_t longest, bool letters) {
    if (part.size() < shortest || part.size() > longest) {
        return false;
    }
    return std::all_of(part.begin(), part.end(), [letters](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return letters ? std::isalpha(byte) != 0 : std::isalnum(byte) != 0;
    });
}

}  // namespace

bool IsLanguageTag(const std::string& tag) {
    const std::vector<std::string> parts = SplitFields(tag, "-");
    if (parts.empty() || !Subtag(parts[0], 2, 3, true)) {
        return false;
    }
    return std::all_of(parts.begin() + 1, parts.end(),
                       [](const std::string& part) { return Subtag(part, 2, 8, false); });
}

std::optional<std::vector<std::string>> LanguageList(const std::string& text) {
    std::vector<std::string> tags;
    for (std::string tag : SplitFields(text, ",")) {
        tag.erase(std::remove(tag.begin(), tag.end(), ' '), tag.end());
        if (tag.empty()) {
            continue;
        }
        if (!IsLanguageTag(tag)) {
            return std::nullopt;
        }
        const bool known = std::any_of(tags.begin(), tags.end(), [&](const std::string& held) {
            return EqualIgnoringCase(held, tag);
        });
        if (!known) {
            tags.push_back(tag);
        }
    }
    return tags;
}

std::string LanguageListText(const std::vector<std::string>& tags) {
    return JoinFields(tags, ",");
}

std::string OwnLanguageName(const std::string& tag) {
    static const std::pair<const char*, const char*> kNames[] = {
        {"ar", "العربية"},    {"ca", "Català"},   {"cs", "Čeština"},   {"da", "Dansk"},
        {"de", "Deutsch"},    {"el", "Ελληνικά"}, {"en", "English"},   {"es", "Español"},
        {"fi", "Suomi"},      {"fr", "Français"}, {"he", "עברית"},     {"hu", "Magyar"},
        {"it", "Italiano"},   {"ja", "日本語"},   {"ko", "한국어"},    {"nb", "Norsk bokmål"},
        {"nl", "Nederlands"}, {"pl", "Polski"},   {"pt", "Português"}, {"ro", "Română"},
        {"ru", "Русский"},    {"sv", "Svenska"},  {"tr", "Türkçe"},    {"uk", "Українська"},
        {"zh", "中文"}};
    const std::string language = LowerCase(SplitFields(tag, "-").front());
    for (const auto& [code, name] : kNames) {
        if (language == code) {
            return name;
        }
    }
    return tag;
}
