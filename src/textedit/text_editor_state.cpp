#include "textedit/text_editor_state.h"

#include <cctype>

#include "common/fields.h"
#include "common/text_case.h"
#include "common/text_search.h"
#include "textedit/html_conversion.h"
#include "textedit/rtf_writer.h"

namespace {

// A hexadecimal pair as the colour reader takes it: digits up to the first other character.
int HexPair(const std::string& text, std::size_t at) {
    std::string pair = at < text.size() ? text.substr(at, 2) : std::string();
    if (pair.size() == 2 && (pair == "0x" || pair == "0X")) {
        return 0;
    }
    int value = 0;
    for (const char c : pair) {
        if (!std::isxdigit(static_cast<unsigned char>(c))) {
            break;
        }
        value = value * 16 + (std::isdigit(static_cast<unsigned char>(c))
                                  ? c - '0'
                                  : std::tolower(static_cast<unsigned char>(c)) - 'a' + 10);
    }
    return value;
}

}  // namespace

void TextEditorState::applyTextProperties(const std::string& properties) {
    if (properties.size() <= 2) {
        return;
    }
    const std::string separator = "^";
    backgroundColor = FieldAt(properties, 1, separator);
    backgroundImage = FieldAt(properties, 2, separator);
    borderColor = FieldAt(properties, 3, separator);
    borderWidth = FieldAt(properties, 4, separator);
    if (FieldCount(properties, separator) > 5) {
        const std::string marker = FieldAt(properties, 5, separator);
        justify = Contains(marker, "YESTEXTJUSTIFY");
        centerAlign = Contains(marker, "YESCENTERALIGN");
        rightAlign = Contains(marker, "YESRIGHTALIGN");
    }
}

TextEditorState::ShownAlignment TextEditorState::shownAlignment() const {
    if (justify) {
        return ShownAlignment::Justify;
    }
    if (centerAlign) {
        return ShownAlignment::Centre;
    }
    return rightAlign ? ShownAlignment::Right : ShownAlignment::Left;
}

void TextEditorState::chooseAlignment(ShownAlignment alignment) {
    justify = alignment == ShownAlignment::Justify;
    centerAlign = alignment == ShownAlignment::Centre;
    rightAlign = alignment == ShownAlignment::Right;
}

BackgroundRgb BackgroundColourOf(const std::string& htmlColour) {
    return {HexPair(htmlColour, 1), HexPair(htmlColour, 3), HexPair(htmlColour, 5)};
}

std::optional<std::size_t> FindFromSecondEntry(const std::vector<std::string>& entries,
                                               const std::string& start) {
    const std::size_t count = entries.size();
    for (std::size_t step = 0; step < count; ++step) {
        const std::size_t index = (step + 1) % count;
        if (StartsWithIgnoringCase(entries[index], start)) {
            return index;
        }
    }
    return std::nullopt;
}

const std::vector<int>& FontSizes() {
    static const std::vector<int> sizes = {8,  9,  10, 11, 12, 14, 16, 18,
                                           20, 22, 24, 26, 28, 36, 48, 72};
    return sizes;
}

std::vector<std::string> BorderWidths() {
    std::vector<std::string> widths;
    for (int width = 0; width <= 20; ++width) {
        widths.push_back(std::to_string(width) + "px");
    }
    return widths;
}

std::optional<std::size_t> SizeIndexOf(int points) {
    const std::vector<int>& sizes = FontSizes();
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        if (sizes[i] == points) {
            return i;
        }
    }
    return std::nullopt;
}

bool EffectAfterToggle(bool throughout, bool nowhere) {
    return !throughout || nowhere;
}

void FinishSection(RichText& text, TextEditorState& state) {
    state.htmlText = convertToHtml(text, state.itemId, state.justify);
    state.rtfText = WriteRtf(text);
}
