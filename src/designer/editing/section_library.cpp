#include "designer/editing/section_library.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <filesystem>

#include "common/fields.h"
#include "common/paths.h"
#include "designer/editing/item_commands.h"
#include "page/workspace.h"
#include "platform/prompts.h"
#include "site/markup/item_walk.h"
#include "site/section_file.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kFilter = "Quillora section (*.qsection)|*.qsection||";
constexpr const char* kCaption = "SECTIONS";

int Number(const std::string& record, const char* property) {
    return std::atoi(StyleNumber(record, property).c_str());
}

// A file name for the section's name: letters, digits and dashes.
std::string FileNameFor(const std::string& name) {
    std::string file;
    for (const char c : name) {
        const bool plain =
            (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        if (plain) {
            file += c;
        } else if (!file.empty() && file.back() != '-') {
            file += '-';
        }
    }
    while (!file.empty() && file.back() == '-') {
        file.pop_back();
    }
    return (file.empty() ? std::string("section") : file) + kSectionFileExtension;
}

// The items of a section as its window draws them.
std::vector<SectionBox> BoxesOf(const PageRecord& section) {
    std::vector<SectionBox> boxes;
    for (const std::string& record : SplitFields(section.stylesData, "|")) {
        const std::string id = RecordId(record);
        SectionBox box{Number(record, "left"),
                       Number(record, "top"),
                       Number(record, "width"),
                       Number(record, "height"),
                       "",
                       ""};
        if (id.rfind("d", 0) == 0) {
            const std::string name = id.substr(1);
            box.width = std::atoi(FieldAt(record, 1, "^").c_str());
            box.height = std::atoi(FieldAt(record, 2, "^").c_str());
            for (const std::string& entry : section.pictures) {
                if (ItemNameIn(entry) == name) {
                    box.picture = entry.substr(name.size());
                }
            }
        } else {
            for (const std::string& properties : section.textProperties) {
                if (ItemNameIn(properties) == id) {
                    box.colour = FieldAt(properties, 1, "^");
                }
            }
            box.width = box.width > 0 ? box.width : 200;
            box.height = box.height > 0 ? box.height : 80;
        }
        boxes.push_back(box);
    }
    return boxes;
}

}  // namespace

PageRecord SectionOf(const std::vector<ClippedItem>& items, const std::string& name) {
    int left = INT_MAX;
    int top = INT_MAX;
    for (const ClippedItem& item : items) {
        left = std::min(left, Number(item.record, "left"));
        top = std::min(top, Number(item.record, "top"));
    }
    PageRecord section;
    section.pageTitle = name;
    int drawn = 0;
    PlaceItems(section, items, -left, -top, [&drawn] { return ++drawn; });
    return section;
}

SectionLibrary::SectionLibrary(Workspace& workspace, ItemCommands& items, Prompts& prompts,
                               std::string shippedFolder)
    : workspace_(workspace),
      items_(items),
      prompts_(prompts),
      shippedFolder_(std::move(shippedFolder)) {}

void SectionLibrary::saveSection(const std::string& names) {
    const std::vector<ClippedItem> items = items_.clipped(names);
    if (items.empty()) {
        prompts_.messageBox(
            "Select the items to keep as a section first: click one, or hold Shift and click "
            "several.",
            kCaption, MessageButtons::Ok, MessageIcon::Information);
        return;
    }
    const std::optional<std::string> name = prompts_.sectionName();
    if (!name || name->find_first_not_of(' ') == std::string::npos) {
        return;
    }
    const PageRecord section = SectionOf(items, *name);
    const std::string folder = JoinPath(workspace_.workingFolder, kSectionsFolder);
    std::error_code error;
    fs::create_directories(folder, error);
    const std::string file = JoinPath(folder, FileNameFor(*name));
    if (fs::exists(file, error) &&
        prompts_.messageBox("A section named " + FileNameOf(file) +
                                " is kept already. Replace it with the items selected?",
                            kCaption, MessageButtons::YesNo,
                            MessageIcon::Question) != MessageAnswer::Yes) {
        return;
    }
    const SiteArchiveResult written = WriteSectionFile(section, workspace_.workingFolder, file);
    prompts_.messageBox(written.done ? "The section \"" + *name +
                                           "\" is kept. Add it to any page from the add menu's "
                                           "Add section..."
                                     : written.message,
                        kCaption, MessageButtons::Ok,
                        written.done ? MessageIcon::Information : MessageIcon::Warning);
}

void SectionLibrary::addSection(int left, int top) {
    std::vector<SectionOffer> offers;
    std::vector<PageRecord> designs;
    std::string refusal;
    for (const std::string& file : files()) {
        if (std::optional<PageRecord> design =
                ReadSectionFile(file, workspace_.workingFolder, refusal)) {
            offers.push_back({design->pageTitle, file, BoxesOf(*design)});
            designs.push_back(std::move(*design));
        }
    }
    const std::optional<SectionChoice> choice = prompts_.sectionLibrary(offers);
    if (!choice) {
        return;
    }
    std::optional<PageRecord> chosen;
    if (choice->action == SectionAction::AddFromFile) {
        const std::optional<std::string> file =
            prompts_.openFileName({kFilter, JoinPath(workspace_.workingFolder, "*.qsection")});
        if (!file) {
            return;
        }
        chosen = ReadSectionFile(*file, workspace_.workingFolder, refusal);
        if (!chosen) {
            prompts_.messageBox(refusal, kCaption, MessageButtons::Ok, MessageIcon::Warning);
            return;
        }
    } else if (choice->index < designs.size()) {
        if (choice->action == SectionAction::SaveToFile) {
            const std::string& from = offers[choice->index].file;
            const std::optional<std::string> file =
                prompts_.saveFileName({"Save Section to File", kFilter,
                                       JoinPath(workspace_.workingFolder, FileNameOf(from))});
            std::error_code error;
            if (file && !fs::copy_file(from, *file, fs::copy_options::overwrite_existing, error)) {
                prompts_.messageBox("The section could not be written to " + *file + ".", kCaption,
                                    MessageButtons::Ok, MessageIcon::Warning);
            }
            return;
        }
        chosen = designs[choice->index];
    }
    if (chosen) {
        workspace_.editor.stepLabel = "add section";
        items_.placeSelected(ClipEveryItem(*chosen), left, top);
    }
}

std::vector<std::string> SectionLibrary::files() const {
    std::vector<std::string> found;
    for (const std::string& folder :
         {JoinPath(workspace_.workingFolder, kSectionsFolder), shippedFolder_}) {
        std::vector<std::string> here;
        std::error_code error;
        for (fs::directory_iterator entry(folder, error), end; !error && entry != end;
             entry.increment(error)) {
            if (entry->path().extension() == kSectionFileExtension) {
                here.push_back(entry->path().string());
            }
        }
        std::sort(here.begin(), here.end());
        found.insert(found.end(), here.begin(), here.end());
    }
    return found;
}
