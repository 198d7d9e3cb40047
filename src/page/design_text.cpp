#include "page/design_text.h"

#include <vector>

#include "page/page_record.h"

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
    bool atEnd() const { return at_ == text_.size(); }
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

std::string DesignText(const PageRecord& page) {
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
    // Written only when the page has any, so files of pages without them stay as they were.
    const auto extras = PageExtras(page);
    const std::vector<PhoneChoiceRow> phone = PhoneChoiceRows(page.phoneChoices);
    const bool translated = !page.translations.empty();
    if (!extras.empty() || !phone.empty() || translated) {
        text += "EXTRAS " + std::to_string(extras.size()) + "\n";
        for (const auto& [name, value] : extras) {
            text += Value("-", name) + Value("-", value);
        }
    }
    if (!phone.empty() || translated) {
        text += "PHONE " + std::to_string(phone.size()) + "\n";
        for (const PhoneChoiceRow& row : phone) {
            text += Value("-", row.item) + Value("-", row.name) + Value("-", row.value);
        }
    }
    if (translated) {
        std::size_t count = 0;
        std::string rows;
        for (const auto& [language, items] : page.translations) {
            for (const auto& [item, words] : items) {
                rows += Value("-", language) + Value("-", item) + Value("-", words);
                ++count;
            }
        }
        text += "TRANSLATIONS " + std::to_string(count) + "\n" + rows;
    }
    return text;
}

std::optional<PageRecord> ParseDesignText(const std::string& text) {
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
    if (reader.good() && !reader.atEnd()) {
        const std::size_t extras = reader.count("EXTRAS");
        for (std::size_t i = 0; i < extras && reader.good(); ++i) {
            const std::string name = reader.bytes(reader.count("-"));
            SetPageExtra(page, name, reader.bytes(reader.count("-")));
        }
    }
    if (reader.good() && !reader.atEnd()) {
        const std::size_t choices = reader.count("PHONE");
        for (std::size_t i = 0; i < choices && reader.good(); ++i) {
            const std::string item = reader.bytes(reader.count("-"));
            const std::string name = reader.bytes(reader.count("-"));
            SetPhoneChoice(page.phoneChoices, item, name, reader.bytes(reader.count("-")));
        }
    }
    if (reader.good() && !reader.atEnd()) {
        const std::size_t translations = reader.count("TRANSLATIONS");
        for (std::size_t i = 0; i < translations && reader.good(); ++i) {
            const std::string language = reader.bytes(reader.count("-"));
            const std::string item = reader.bytes(reader.count("-"));
            page.translations[language][item] = reader.bytes(reader.count("-"));
        }
    }
    if (!reader.ok() || count.empty() || count.size() > 9 ||
        count.find_first_not_of("0123456789") != std::string::npos) {
        return std::nullopt;
    }
    page.elementCount = std::stoi(count);
    return page;
}
