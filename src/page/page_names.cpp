#include "page/page_names.h"

#include <algorithm>
#include <string_view>

namespace {

std::string ReplaceEach(std::string text, std::string_view characters) {
    std::replace_if(
        text.begin(), text.end(),
        [characters](char c) { return characters.find(c) != std::string_view::npos; }, '-');
    return text;
}

}  // namespace

std::string CleanPageName(std::string name) {
    return ReplaceEach(std::move(name), "?!~*%'&$#\"()");
}

std::string CleanFolderName(std::string name) {
    return ReplaceEach(std::move(name), " ?!~*%'\"/\\&$#");
}

bool HasProblemCharacters(const std::string& name) {
    return name.find_first_of("\"|&!?%$@()#`:;") != std::string::npos;
}
