#include "textedit/face_choices.h"

#include <algorithm>

#include "common/text_case.h"
#include "files/font_file.h"
#include "files/font_match.h"

namespace {

constexpr const char* kOnlyHere = " \u2014 only on this computer";
constexpr const char* kLicenceKeepsIt = " \u2014 only on this computer: its licence keeps it here";

bool Listed(const std::vector<FaceChoice>& choices, const std::string& family) {
    return std::any_of(choices.begin(), choices.end(), [&](const FaceChoice& choice) {
        return EqualIgnoringCase(choice.family, family);
    });
}

}  // namespace

std::vector<FaceChoice> FaceChoices(const std::vector<std::string>& installed,
                                    const std::string& workingFolder) {
    std::vector<FaceChoice> choices;
    const auto isInstalled = [&](const std::string& family) {
        return std::any_of(installed.begin(), installed.end(), [&](const std::string& name) {
            return EqualIgnoringCase(name, family);
        });
    };
    // The faces pages have always named, where their twins here travel.
    for (const char* common : {"Arial", "Times New Roman", "Courier New"}) {
        const std::optional<MatchedFont> matched = MatchFont({common}, workingFolder);
        if (matched && matched->travels) {
            choices.push_back({common, common, true});
        }
    }
    for (const std::string& family : LibraryFamilies()) {
        if (isInstalled(family) && !Listed(choices, family)) {
            choices.push_back({family, family, true});
        }
    }
    for (const std::string& family : OwnFamilies(workingFolder)) {
        if (!Listed(choices, family)) {
            choices.push_back({family, family, true});
        }
    }
    for (const std::string& family : installed) {
        if (Listed(choices, family)) {
            continue;
        }
        const std::optional<MatchedFont> matched = MatchFont({family}, workingFolder);
        const bool restricted =
            matched && LicenceOfFile(matched->path, static_cast<unsigned>(matched->index)) ==
                           FontLicence::Restricted;
        choices.push_back({family, family + (restricted ? kLicenceKeepsIt : kOnlyHere), false});
    }
    return choices;
}
