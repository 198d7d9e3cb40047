#include "designer/recovery.h"

#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <vector>

#include "common/paths.h"
#include "common/text_file.h"
#include "designer/session_lifecycle.h"
#include "page/page_record.h"
#include "platform/prompts.h"
#include "store/page_store.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kHeader = "QUILLORA RECOVERY 1\n";

// The record's values and lists in the order the file keeps them.
template <typename Page, typename OnValue, typename OnList>
void EachPart(Page& page, OnValue&& onValue, OnList&& onList) {
    onValue("DIRECTORY", page.directory);
    onValue("FILENAME", page.fileName);
    onValue("PAGETITLE", page.pageTitle);
    onValue("BACKCOLOR", page.backColor);
    onValue("BACKIMAGE", page.backImage);
    onValue("PAGECOLOR", page.pageColor);
    onValue("PAGEIMAGE", page.pageImage);
    onValue("PAGECONTAINER", page.pageContainer);
    onValue("PAGEWIDTH", page.pageWidth);
    onValue("PAGELENGTH", page.pageLength);
    onValue("STYLESDATA", page.stylesData);
    onList("TEXTS", page.texts);
    onList("RICHTEXTS", page.richTexts);
    onList("TEXTPROPERTIES", page.textProperties);
    onList("PICTURES", page.pictures);
    onList("LINKS", page.links);
}

// Reads the recovery text piece by piece; any piece that is not there spoils the whole.
class Reader {
  public:
    explicit Reader(const std::string& text) : text_(text) {}

    bool expect(const std::string& piece) {
        if (!ok_ || text_.compare(at_, piece.size(), piece) != 0) {
            ok_ = false;
            return false;
        }
        at_ += piece.size();
        return true;
    }
    // "NAME n\n": the number n.
    std::size_t count(const std::string& name) {
        if (!expect(name + " ")) {
            return 0;
        }
        const std::size_t end = text_.find('\n', at_);
        if (end == std::string::npos || end == at_ || end - at_ > 12) {
            ok_ = false;
            return 0;
        }
        std::size_t value = 0;
        for (std::size_t i = at_; i < end; ++i) {
            if (text_[i] < '0' || text_[i] > '9') {
                ok_ = false;
                return 0;
            }
            value = value * 10 + static_cast<std::size_t>(text_[i] - '0');
        }
        at_ = end + 1;
        return value;
    }
    std::string bytes(std::size_t length) {
        if (!ok_ || text_.size() - at_ < length + 1 || text_[at_ + length] != '\n') {
            ok_ = false;
            return std::string();
        }
        std::string value = text_.substr(at_, length);
        at_ += length + 1;
        return value;
    }
    bool good() const { return ok_; }
    bool ok() const { return ok_ && at_ == text_.size(); }

  private:
    const std::string& text_;
    std::size_t at_ = 0;
    bool ok_ = true;
};

std::string Value(const std::string& name, const std::string& value) {
    return name + " " + std::to_string(value.size()) + "\n" + value + "\n";
}

}  // namespace

std::string RecoveryText(const PageRecord& page) {
    std::string text = kHeader;
    EachPart(
        page, [&](const char* name, const std::string& value) { text += Value(name, value); },
        [&](const char* name, const std::vector<std::string>& list) {
            text += std::string(name) + " " + std::to_string(list.size()) + "\n";
            for (const std::string& entry : list) {
                text += Value("-", entry);
            }
        });
    text += Value("ELEMENTCOUNT", std::to_string(page.elementCount));
    return text;
}

std::optional<PageRecord> ParseRecovery(const std::string& text) {
    Reader reader(text);
    PageRecord page;
    reader.expect(kHeader);
    EachPart(
        page,
        [&](const char* name, std::string& value) { value = reader.bytes(reader.count(name)); },
        [&](const char* name, std::vector<std::string>& list) {
            const std::size_t entries = reader.count(name);
            for (std::size_t i = 0; i < entries && reader.good(); ++i) {
                list.push_back(reader.bytes(reader.count("-")));
            }
        });
    const std::string count = reader.bytes(reader.count("ELEMENTCOUNT"));
    if (!reader.ok() || count.empty() || count.size() > 9 ||
        count.find_first_not_of("0123456789") != std::string::npos) {
        return std::nullopt;
    }
    page.elementCount = std::stoi(count);
    return page;
}

bool WriteRecovery(const std::string& workingFolder, const PageRecord& page) {
    const std::string path = JoinPath(workingFolder, kRecoveryFile);
    const std::string part = path + ".part";
    const std::string text = RecoveryText(page);
    const int file = open(part.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (file < 0) {
        return false;
    }
    std::size_t written = 0;
    while (written < text.size()) {
        const ssize_t count = write(file, text.data() + written, text.size() - written);
        if (count <= 0) {
            break;
        }
        written += static_cast<std::size_t>(count);
    }
    const bool complete = written == text.size() && fsync(file) == 0;
    close(file);
    std::error_code error;
    if (complete) {
        fs::rename(part, path, error);
    }
    if (!complete || error) {
        fs::remove(part, error);
        return false;
    }
    return true;
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
        ParseRecovery(ReadTextFile(path).value_or(std::string()));
    if (!page) {
        // Numbered, so that a second damaged file never replaces the first.
        const std::string aside = NumberedVariant(JoinPath(workingFolder, "recovery.damaged.qlr"),
                                                  [](const std::string& name) {
                                                      std::error_code unused;
                                                      return !fs::exists(name, unused);
                                                  });
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
        RecoveryText(stored) == RecoveryText(*page)) {
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
