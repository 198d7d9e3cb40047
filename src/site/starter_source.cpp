#include "site/starter_source.h"

#include <map>
#include <sstream>

#include "common/fields.h"
#include "common/number_text.h"

namespace {

std::string Trimmed(const std::string& text) {
    const std::size_t start = text.find_first_not_of(" \t\r");
    if (start == std::string::npos) {
        return std::string();
    }
    return text.substr(start, text.find_last_not_of(" \t\r") - start + 1);
}

std::vector<std::string> Words(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string word; in >> word;) {
        words.push_back(word);
    }
    return words;
}

// "text 7 band phone:larger" or "picture 5 counter phone:full"; nothing for any other line.
std::optional<StarterColumn> ColumnHeader(const std::string& line) {
    const std::vector<std::string> words = Words(line);
    if (words.size() < 2 || (words[0] != "text" && words[0] != "picture")) {
        return std::nullopt;
    }
    const int span = LeadingInt(words[1]);
    if (span < 1 || span > 12 || std::to_string(span) != words[1]) {
        return std::nullopt;
    }
    StarterColumn column;
    column.kind = words[0] == "text" ? StarterColumn::Kind::Text : StarterColumn::Kind::Picture;
    column.span = span;
    for (std::size_t i = 2; i < words.size(); ++i) {
        if (words[i].rfind("phone:", 0) == 0) {
            column.phone.push_back(words[i].substr(6));
        } else if (words[i] == "centre") {
            column.centred = true;
        } else if (column.kind == StarterColumn::Kind::Picture && column.picture.empty()) {
            column.picture = words[i];
        } else {
            column.look = words[i];
        }
    }
    return column;
}

class Reader {
  public:
    explicit Reader(StarterSource& source) : source_(source) {}

    bool line(const std::string& raw, std::string& error) {
        const std::string text = Trimmed(raw);
        if (text.size() > 2 && text.front() == '[' && text.back() == ']') {
            return block(text.substr(1, text.size() - 2), error);
        }
        // Blocks that take no lines take blank ones.
        const auto none = [&](const char* refusal) {
            if (!text.empty()) {
                error = refusal;
            }
            return text.empty();
        };
        switch (block_) {
            case Block::None:
                return none("text before the first block");
            case Block::Site:
                return text.empty() || setting(text, error);
            case Block::Picture:
                if (!text.empty()) {
                    source_.pictures.back().commands.push_back(text);
                }
                return true;
            case Block::Menu:
                return none("the menu block takes no lines");
            case Block::Rows:
                return rowLine(raw, text, error);
        }
        return true;
    }

    bool finish(std::string& error) {
        if (source_.name.empty() || source_.pages.empty()) {
            error = "a starter needs a name and at least one page";
            return false;
        }
        return true;
    }

  private:
    enum class Block { None, Site, Picture, Menu, Rows };

    bool block(const std::string& header, std::string& error) {
        const std::vector<std::string> words = Words(header);
        rows_ = nullptr;
        page_ = nullptr;
        if (words.size() == 1 && words[0] == "site") {
            block_ = Block::Site;
        } else if (words.size() == 1 && words[0] == "menu") {
            block_ = Block::Menu;
            source_.menu = true;
        } else if (words.size() == 1 && (words[0] == "header" || words[0] == "footer")) {
            block_ = Block::Rows;
            rows_ = words[0] == "header" ? &source_.header : &source_.footer;
        } else if (words.size() == 2 && words[0] == "page") {
            block_ = Block::Rows;
            source_.pages.push_back(StarterPage{words[1], "", "", "", {}});
            page_ = &source_.pages.back();
            rows_ = &page_->rows;
        } else if (words.size() == 3 && words[0] == "picture") {
            StarterPicture picture;
            picture.name = words[1];
            picture.width = LeadingInt(FieldAt(words[2], 0, "x"));
            picture.height = LeadingInt(FieldAt(words[2], 1, "x"));
            if (picture.width < 16 || picture.height < 16 || picture.width > 4000 ||
                picture.height > 4000) {
                error = "a picture's size is WIDTHxHEIGHT, 16 to 4000 pixels each";
                return false;
            }
            source_.pictures.push_back(picture);
            block_ = Block::Picture;
        } else {
            error = "no such block: [" + header + "]";
            return false;
        }
        return true;
    }

    bool setting(const std::string& text, std::string& error) {
        const std::size_t equals = text.find('=');
        if (equals == std::string::npos) {
            error = "a setting is NAME = VALUE";
            return false;
        }
        const std::string name = Trimmed(text.substr(0, equals));
        const std::string value = Trimmed(text.substr(equals + 1));
        const std::map<std::string, std::string*> site = {{"name", &source_.name},
                                                          {"kind", &source_.kind},
                                                          {"line", &source_.line},
                                                          {"body font", &source_.bodyFont},
                                                          {"heading font", &source_.headingFont},
                                                          {"background", &source_.background},
                                                          {"text", &source_.text},
                                                          {"accent", &source_.accent},
                                                          {"band", &source_.band},
                                                          {"on accent", &source_.onAccent}};
        std::map<std::string, std::string*> page;
        if (page_ != nullptr) {
            page = {{"title", &page_->title},
                    {"menu", &page_->menuLabel},
                    {"description", &page_->description}};
        }
        const auto& known = page_ != nullptr ? page : site;
        const auto found = known.find(name);
        if (found == known.end()) {
            error = "no such setting: " + name;
            return false;
        }
        *found->second = value;
        return true;
    }

    bool rowLine(const std::string& raw, const std::string& text, std::string& error) {
        if (text == "---") {
            rows_->emplace_back();
            return true;
        }
        if (std::optional<StarterColumn> column = ColumnHeader(text)) {
            if (rows_->empty()) {
                rows_->emplace_back();
            }
            rows_->back().push_back(std::move(*column));
            return true;
        }
        if (rows_->empty() || rows_->back().empty()) {
            if (text.empty()) {
                return true;
            }
            if (page_ != nullptr && rows_->empty() && text.find('=') != std::string::npos) {
                return setting(text, error);
            }
            error = "words before a text or picture line";
            return false;
        }
        StarterColumn& column = rows_->back().back();
        if (column.kind == StarterColumn::Kind::Picture) {
            if (!text.empty() && column.description.empty()) {
                column.description = text;
            }
            return true;
        }
        column.lines.push_back(Trimmed(raw));
        return true;
    }

    StarterSource& source_;
    Block block_ = Block::None;
    std::vector<StarterRow>* rows_ = nullptr;
    StarterPage* page_ = nullptr;
};

}  // namespace

std::optional<StarterSource> ReadStarterSource(const std::string& text, std::string& error) {
    StarterSource source;
    Reader reader(source);
    std::istringstream in(text);
    int number = 0;
    for (std::string line; std::getline(in, line);) {
        ++number;
        std::string problem;
        if (!reader.line(line, problem)) {
            error = "line " + std::to_string(number) + ": " + problem;
            return std::nullopt;
        }
    }
    std::string problem;
    if (!reader.finish(problem)) {
        error = problem;
        return std::nullopt;
    }
    return source;
}
