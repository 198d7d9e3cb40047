#include "designer/pages/recovery.h"

#include <filesystem>

#include "common/paths.h"
#include "common/text_file.h"
#include "designer/pages/last_session.h"
#include "page/page_record.h"
#include "platform/prompts.h"
#include "store/page_store.h"

namespace fs = std::filesystem;

bool WriteRecovery(const std::string& workingFolder, const PageRecord& page) {
    return WriteTextFile(JoinPath(workingFolder, kRecoveryFile), DesignText(page));
}

void RemoveRecovery(const std::string& workingFolder) {
    std::error_code error;
    fs::remove(JoinPath(workingFolder, kRecoveryFile), error);
}

void OfferRecovery(const std::string& workingFolder, PageStore& store, Prompts& prompts) {
    const std::string path = JoinPath(workingFolder, kRecoveryFile);
    std::error_code error;
    if (!fs::exists(path, error)) {
        return;
    }
    const std::optional<PageRecord> page =
        ParseDesignText(ReadTextFile(path).value_or(std::string()));
    if (!page) {
        // Numbered, so that a second damaged file never replaces the first.
        const std::string aside = FreePath(JoinPath(workingFolder, "recovery.damaged.qlr"));
        fs::rename(path, aside, error);
        prompts.messageBox(
            "The unsaved changes of the last session could not be read back; "
            "they were kept as " +
                FileNameOf(aside) + " in the working folder.",
            "QUILLORA MESSAGE", MessageButtons::Ok, MessageIcon::Warning);
        return;
    }
    // The page's own stored design tells whether the file holds anything newer; the store file
    // as a whole is written by others too (the uploader's remembered login).
    PageRecord stored;
    stored.directory = page->directory;
    stored.fileName = page->fileName;
    if (store.loadPage(stored, page->directory, page->fileName) &&
        DesignText(stored) == DesignText(*page)) {
        RemoveRecovery(workingFolder);
        return;
    }
    if (prompts.messageBox(
            "Quillora closed unexpectedly. Restore the unsaved changes to " + page->fileName + "?",
            "QUILLORA MESSAGE", MessageButtons::YesNo,
            MessageIcon::Question) != MessageAnswer::Yes) {
        RemoveRecovery(workingFolder);
        return;
    }
    if (!store.savePage(*page)) {
        prompts.messageBox("The unsaved changes could not be stored. They stay in " +
                               std::string(kRecoveryFile) +
                               " in the working folder and are offered again at the next start.",
                           "QUILLORA MESSAGE", MessageButtons::Ok, MessageIcon::Warning);
        return;
    }
    WriteLastSession(workingFolder, page->directory, page->fileName);
    RemoveRecovery(workingFolder);
}
