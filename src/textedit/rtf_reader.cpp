#include "textedit/rtf_reader.h"

#include <algorithm>
#include <map>
#include <optional>
#include <vector>

#include "common/utf8.h"
#include "textedit/code_page.h"

namespace {

// Deeper groups are read as if their braces were not there, so that hostile input cannot
// make the reader keep a copy of its state for every brace.
constexpr std::size_t kDeepestGroup = 256;
constexpr long kLargestParameter = 1000000;

enum class Destination { Text, FontTable, ColourTable, Skip };

struct ParagraphState {
    Alignment alignment = Alignment::Left;
};

struct GroupState {
    Destination destination = Destination::Text;
    int font = -1;
    // Half points.
    long halfPoints = 24;
    int colour = 0;
    bool underline = false;
    bool bold = false;
    bool italic = false;
    long unicodeSkip = 1;
    // Set by \*: the group is skipped unless its destination is known.
    bool ignorable = false;
    // The control word that starts the group, when nothing came before it.
    bool atGroupStart = true;
};

struct Colour {
    unsigned char red = 0;
    unsigned char green = 0;
    unsigned char blue = 0;
};

class Reader {
  public:
    Reader(std::string_view rtf, const CharFormat& defaultFormat)
        : rtf_(rtf), default_(defaultFormat) {
        text_.setDefaultFormat(defaultFormat);
    }

    RichText read();

  private:
    void openGroup();
    void closeGroup();
    void controlWord(const std::string& word, bool hasParameter, long parameter);
    void controlSymbol(char symbol);
    void character(char32_t c);
    void rawByte(unsigned char byte);
    void endParagraph();
    CharFormat currentFormat() const;
    void flush();
    GroupState& state() { return groups_.back(); }

    std::string_view rtf_;
    std::size_t at_ = 0;
    CharFormat default_;
    RichText text_;
    std::vector<GroupState> groups_{GroupState()};
    std::size_t flatDepth_ = 0;
    ParagraphState paragraph_;
    std::vector<Alignment> alignments_;
    std::map<int, std::string> fonts_;
    std::vector<Colour> colours_;
    Colour colourEntry_;
    int fontNumber_ = -1;
    std::string fontName_;
    // Fallback characters still to skip after a \u.
    long skip_ = 0;
    char32_t highSurrogate_ = 0;
    // Characters of one format gathered before they go into the text in one piece.
    std::u32string pending_;
    CharFormat pendingFormat_;
    GroupState pendingState_;
    // Counts changes of the font and colour tables, which decide formats too.
    unsigned tablesVersion_ = 0;
    unsigned pendingTablesVersion_ = 0;
};

bool SameFormatState(const GroupState& a, const GroupState& b) {
    return a.font == b.font && a.halfPoints == b.halfPoints && a.colour == b.colour &&
           a.underline == b.underline && a.bold == b.bold && a.italic == b.italic;
}

bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

bool IsSkippedDestination(const std::string& word) {
    static const char* const kSkipped[] = {"stylesheet",
                                           "info",
                                           "pict",
                                           "object",
                                           "header",
                                           "footer",
                                           "headerl",
                                           "headerr",
                                           "headerf",
                                           "footerl",
                                           "footerr",
                                           "footerf",
                                           "footnote",
                                           "fldinst",
                                           "listtable",
                                           "listoverridetable",
                                           "rsidtbl",
                                           "themedata",
                                           "datastore",
                                           "latentstyles",
                                           "xmlnstbl",
                                           "generator",
                                           "filetbl",
                                           "revtbl",
                                           "colorschememapping",
                                           "pgdsctbl",
                                           "title",
                                           "author",
                                           "operator",
                                           "comment",
                                           "company",
                                           "keywords",
                                           "subject",
                                           "doccomm",
                                           "bkmkstart",
                                           "bkmkend",
                                           "nonshppict",
                                           "blipuid",
                                           "private",
                                           "mmathPr"};
    return std::find(std::begin(kSkipped), std::end(kSkipped), word) != std::end(kSkipped);
}

namespace {

// Control words that stand for one character.
std::optional<char32_t> NamedCharacter(const std::string& word) {
    static const std::map<std::string, char32_t> kNamed = {
        {"tab", U'\t'},     {"emdash", 0x2014},    {"endash", 0x2013},    {"lquote", 0x2018},
        {"rquote", 0x2019}, {"ldblquote", 0x201C}, {"rdblquote", 0x201D}, {"bullet", 0x2022},
    };
    const auto found = kNamed.find(word);
    return found == kNamed.end() ? std::nullopt : std::optional<char32_t>(found->second);
}

}  // namespace

CharFormat Reader::currentFormat() const {
    const GroupState& group = groups_.back();
    CharFormat format = default_;
    if (const auto font = fonts_.find(group.font); font != fonts_.end()) {
        format.face = font->second;
    }
    format.size = static_cast<int>(std::clamp(group.halfPoints / 2, 1L, 1638L));
    if (group.colour >= 0 && static_cast<std::size_t>(group.colour) < colours_.size()) {
        const Colour& colour = colours_[static_cast<std::size_t>(group.colour)];
        format.red = colour.red;
        format.green = colour.green;
        format.blue = colour.blue;
    } else {
        format.red = format.green = format.blue = 0;
    }
    format.underline = group.underline;
    format.bold = group.bold;
    format.italic = group.italic;
    return format;
}

void Reader::flush() {
    if (!pending_.empty()) {
        text_.insert(text_.length(), EncodeUtf8(pending_), pendingFormat_);
        pending_.clear();
    }
}

void Reader::character(char32_t c) {
    GroupState& group = state();
    if (group.destination == Destination::FontTable) {
        if (c == U';') {
            if (fontNumber_ >= 0) {
                fonts_[fontNumber_] = fontName_;
                ++tablesVersion_;
            }
            fontName_.clear();
        } else {
            fontName_ += EncodeUtf8(std::u32string(1, c));
        }
        return;
    }
    if (group.destination == Destination::ColourTable) {
        // Each ";" ends an entry; the first, empty one is the automatic colour, black here.
        if (c == U';') {
            colours_.push_back(colourEntry_);
            ++tablesVersion_;
            colourEntry_ = Colour();
        }
        return;
    }
    if (group.destination != Destination::Text) {
        return;
    }
    group.atGroupStart = false;
    // The format is worked out again only when something that decides it has changed.
    if (pending_.empty() || !SameFormatState(group, pendingState_) ||
        tablesVersion_ != pendingTablesVersion_) {
        const CharFormat format = currentFormat();
        if (!pending_.empty() && format != pendingFormat_) {
            flush();
        }
        pendingFormat_ = format;
        pendingState_ = group;
        pendingTablesVersion_ = tablesVersion_;
    }
    pending_ += c;
}

void Reader::rawByte(unsigned char byte) {
    if (skip_ > 0) {
        --skip_;
        return;
    }
    if (byte == '\r' || byte == '\n' || byte == 0) {
        return;
    }
    character(CharacterOfByte(byte));
}

void Reader::endParagraph() {
    if (state().destination != Destination::Text) {
        return;
    }
    character(RichText::kParagraphBreak);
    alignments_.push_back(paragraph_.alignment);
}

void Reader::openGroup() {
    if (groups_.size() >= kDeepestGroup) {
        ++flatDepth_;
        return;
    }
    GroupState inner = state();
    inner.ignorable = false;
    inner.atGroupStart = true;
    groups_.push_back(inner);
}

void Reader::closeGroup() {
    if (flatDepth_ > 0) {
        --flatDepth_;
        return;
    }
    if (groups_.size() <= 1) {
        return;
    }
    if (state().destination == Destination::FontTable && fontNumber_ >= 0 && !fontName_.empty()) {
        fonts_[fontNumber_] = fontName_;
        fontName_.clear();
        ++tablesVersion_;
    }
    groups_.pop_back();
    skip_ = 0;
}

void Reader::controlSymbol(char symbol) {
    switch (symbol) {
        case '\\':
        case '{':
        case '}':
            rawByte(static_cast<unsigned char>(symbol));
            return;
        case '~':
            character(0xA0);
            return;
        case '_':
            character(0x2011);
            return;
        case '*':
            state().ignorable = true;
            return;
        case '\r':
        case '\n':
            endParagraph();
            return;
        default:
            return;
    }
}

void Reader::controlWord(const std::string& word, bool hasParameter, long parameter) {
    GroupState& group = state();
    const bool startsGroup = group.atGroupStart;
    group.atGroupStart = false;
    if (word == "fonttbl") {
        group.destination = Destination::FontTable;
        return;
    }
    if (word == "colortbl") {
        group.destination = Destination::ColourTable;
        return;
    }
    if ((startsGroup && group.ignorable) || IsSkippedDestination(word)) {
        group.destination = Destination::Skip;
        return;
    }
    if (group.destination == Destination::Skip) {
        return;
    }
    if (group.destination == Destination::ColourTable) {
        const auto channel = static_cast<unsigned char>(std::clamp(parameter, 0L, 255L));
        if (word == "red") {
            colourEntry_.red = channel;
        } else if (word == "green") {
            colourEntry_.green = channel;
        } else if (word == "blue") {
            colourEntry_.blue = channel;
        }
        return;
    }
    if (group.destination == Destination::FontTable) {
        if (word == "f") {
            fontNumber_ = static_cast<int>(parameter);
            fontName_.clear();
        }
        return;
    }
    if (word == "par" || word == "line") {
        endParagraph();
    } else if (word == "pard") {
        paragraph_ = ParagraphState();
    } else if (word == "ql") {
        paragraph_.alignment = Alignment::Left;
    } else if (word == "qr") {
        paragraph_.alignment = Alignment::Right;
    } else if (word == "qc") {
        paragraph_.alignment = Alignment::Centre;
    } else if (word == "qj") {
        paragraph_.alignment = Alignment::Justify;
    } else if (word == "plain") {
        group.font = -1;
        group.halfPoints = 24;
        group.colour = 0;
        group.underline = group.bold = group.italic = false;
    } else if (word == "f") {
        group.font = static_cast<int>(parameter);
    } else if (word == "fs") {
        group.halfPoints = hasParameter ? parameter : 24;
    } else if (word == "cf") {
        group.colour = static_cast<int>(parameter);
    } else if (word == "b") {
        group.bold = !hasParameter || parameter != 0;
    } else if (word == "i") {
        group.italic = !hasParameter || parameter != 0;
    } else if (word == "ul" || word == "uld" || word == "uldb" || word == "ulw" ||
               word == "uldash" || word == "ulth" || word == "ulwave") {
        group.underline = !hasParameter || parameter != 0;
    } else if (word == "ulnone") {
        group.underline = false;
    } else if (word == "uc") {
        group.unicodeSkip = std::max(0L, parameter);
    } else if (word == "u") {
        // A negative number is the upper half of 16 bits; characters beyond 16 bits come as
        // two surrogates.
        const auto unit = static_cast<char32_t>(parameter < 0 ? parameter + 65536 : parameter);
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            highSurrogate_ = unit;
        } else if (unit >= 0xDC00 && unit <= 0xDFFF && highSurrogate_ != 0) {
            character(0x10000 + ((highSurrogate_ - 0xD800) << 10) + (unit - 0xDC00));
            highSurrogate_ = 0;
        } else {
            character(unit);
            highSurrogate_ = 0;
        }
        skip_ = group.unicodeSkip;
    } else if (const std::optional<char32_t> named = NamedCharacter(word)) {
        character(*named);
    }
}

RichText Reader::read() {
    while (at_ < rtf_.size()) {
        const char c = rtf_[at_++];
        if (c == '{') {
            openGroup();
        } else if (c == '}') {
            closeGroup();
        } else if (c != '\\') {
            rawByte(static_cast<unsigned char>(c));
        } else if (at_ >= rtf_.size()) {
            break;
        } else if (!IsLetter(rtf_[at_])) {
            const char symbol = rtf_[at_++];
            if (symbol == '\'') {
                const int high = at_ < rtf_.size() ? HexValue(rtf_[at_]) : -1;
                const int low = at_ + 1 < rtf_.size() ? HexValue(rtf_[at_ + 1]) : -1;
                if (high >= 0 && low >= 0) {
                    at_ += 2;
                    rawByte(static_cast<unsigned char>(high * 16 + low));
                }
            } else if (skip_ > 0) {
                --skip_;
            } else {
                controlSymbol(symbol);
            }
        } else {
            std::string word;
            while (at_ < rtf_.size() && IsLetter(rtf_[at_]) && word.size() < 32) {
                word += rtf_[at_++];
            }
            bool negative = false;
            if (at_ < rtf_.size() && rtf_[at_] == '-') {
                negative = true;
                ++at_;
            }
            bool hasParameter = false;
            long parameter = 0;
            while (at_ < rtf_.size() && rtf_[at_] >= '0' && rtf_[at_] <= '9') {
                hasParameter = true;
                parameter = std::min(kLargestParameter, parameter * 10 + (rtf_[at_++] - '0'));
            }
            if (negative) {
                parameter = -parameter;
            }
            if (at_ < rtf_.size() && rtf_[at_] == ' ') {
                ++at_;
            }
            // A \u's fallback characters count control words too, except the \u itself.
            if (skip_ > 0 && word != "u") {
                --skip_;
                continue;
            }
            controlWord(word, hasParameter, parameter);
        }
    }
    flush();
    alignments_.push_back(paragraph_.alignment);
    // The control ends every paragraph with \par, the last one too; that last mark is the
    // end of the text, not a paragraph of its own.
    const std::size_t length = text_.length();
    if (length > 0 && text_.at(length - 1) == RichText::kParagraphBreak) {
        text_.replace(length - 1, length, std::string(), text_.format(length - 1, length));
        // A break that came as a character (\u13) has no alignment of its own to drop.
        if (alignments_.size() > 1) {
            alignments_.pop_back();
        }
    }
    for (std::size_t paragraph = 0; paragraph < text_.paragraphCount(); ++paragraph) {
        text_.setParagraphAlignment(paragraph,
                                    alignments_[std::min(paragraph, alignments_.size() - 1)]);
    }
    text_.select(0, 0);
    return text_;
}

bool IsRtf(std::string_view text) {
    const std::size_t start = text.find_first_not_of(" \t\r\n");
    return start != std::string_view::npos && text.substr(start, 5) == "{\\rtf";
}

// Text that is not RTF: lines become paragraphs.
RichText PlainText(std::string_view text, const CharFormat& format) {
    std::string lines;
    lines.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            continue;
        }
        lines += text[i] == '\n' ? '\r' : text[i];
    }
    RichText result(lines, format);
    result.setDefaultFormat(format);
    result.select(0, 0);
    return result;
}

}  // namespace

RichText ReadRtf(std::string_view rtf, const CharFormat& defaultFormat) {
    if (!IsRtf(rtf)) {
        return PlainText(rtf, defaultFormat);
    }
    return Reader(rtf, defaultFormat).read();
}
