#include "site/starters.h"

#include <filesystem>
#include <sstream>

#include "common/fields.h"
#include "common/paths.h"
#include "common/text_file.h"

#ifndef QUILLORA_STARTERS_DIR
#define QUILLORA_STARTERS_DIR "/usr/share/quillora/starters"
#endif
#ifndef QUILLORA_SECTIONS_DIR
#define QUILLORA_SECTIONS_DIR "/usr/share/quillora/sections"
#endif

namespace {

// An installed program's data lies beside its folder (bin/../share/quillora); a program run
// from its build folder finds it where the build wrote it.
std::string DataFolder(const char* kind, const char* built) {
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error) {
        const std::filesystem::path installed =
            program.parent_path().parent_path() / "share" / "quillora" / kind;
        if (std::filesystem::is_directory(installed, error)) {
            return installed.string();
        }
    }
    return built;
}

}  // namespace

std::string InstalledStartersFolder() {
    return DataFolder("starters", QUILLORA_STARTERS_DIR);
}

std::string InstalledSectionsFolder() {
    return DataFolder("sections", QUILLORA_SECTIONS_DIR);
}

std::vector<StarterEntry> ListStarters(const std::string& folder) {
    std::vector<StarterEntry> starters;
    const std::optional<std::string> index = ReadTextFile(JoinPath(folder, kStarterIndexFile));
    if (!index) {
        return starters;
    }
    std::istringstream lines(*index);
    for (std::string line; std::getline(lines, line);) {
        if (FieldCount(line, "\t") != 4) {
            continue;
        }
        StarterEntry entry{FieldAt(line, 0, "\t"),
                           FieldAt(line, 1, "\t"),
                           FieldAt(line, 2, "\t"),
                           FieldAt(line, 3, "\t"),
                           "",
                           ""};
        entry.file = JoinPath(folder, entry.id + ".qsite");
        entry.picture = JoinPath(folder, entry.id + ".png");
        std::error_code error;
        if (!entry.id.empty() && std::filesystem::is_regular_file(entry.file, error)) {
            starters.push_back(std::move(entry));
        }
    }
    return starters;
}
