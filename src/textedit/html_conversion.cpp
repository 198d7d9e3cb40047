#include "textedit/html_conversion.h"

#include <optional>

#include "common/character_references.h"
#include "common/html_colour.h"
#include "common/markup_escaping.h"
#include "textedit/rich_text.h"

namespace {

// The font tag without its position number, which plays no part when tags are compared.
struct FontTag {
    std::string face;
    std::string colour;
    int size;

    bool operator==(const FontTag& other) const {
        return face == other.face && colour == other.colour && size == other.size;
    }
};

FontTag TagOf(const CharFormat& format) {
    return {format.face, HtmlColour(format.red, format.green, format.blue), format.size};
}

std::string FontTagText(const FontTag& tag, const std::string& itemId, std::size_t position) {
    return "<font face='" + HtmlAttribute(tag.face, '\'') + "' color='" + tag.colour +
           "'><SPAN id='" + itemId + std::to_string(position) +
           "' style='font-size:" + std::to_string(tag.size) + "pt;'>";
}

bool IsBoundary(char32_t c) {
    return c == U' ' || c == RichText::kParagraphBreak;
}

class Effects {
  public:
    void apply(const CharFormat& format, std::string& html) {
        toggle(format.underline, underline_, "u", html);
        toggle(format.bold, bold_, "b", html);
        toggle(format.italic, italic_, "i", html);
    }
    void close(std::string& html) const {
        if (italic_) {
            html += "</i>";
        }
        if (bold_) {
            html += "</b>";
        }
        if (underline_) {
            html += "</u>";
        }
    }

  private:
    static void toggle(bool on, bool& open, const char* tag, std::string& html) {
        if (on && !open) {
            html += std::string("<") + tag + ">";
            open = true;
        } else if (!on && open) {
            html += std::string("</") + tag + ">";
            open = false;
        }
    }

    bool underline_ = false;
    bool bold_ = false;
    bool italic_ = false;
};

}  // namespace

void SeparateAdjacentTags(RichText& text) {
    for (std::size_t i = 0; i + 1 < text.length(); ++i) {
        if (text.at(i) == U'>' && text.at(i + 1) == U'<') {
            text.insert(i + 1, " ", text.format(i + 1, i + 1));
            ++i;
        }
    }
}

std::string convertToHtml(RichText& text, const std::string& itemId, bool justify) {
    SeparateAdjacentTags(text);
    const std::size_t length = text.length();
    std::optional<std::size_t> segmentStart;
    std::optional<FontTag> previous;
    Effects effects;
    std::string html;
    for (std::size_t i = 0; i < length; ++i) {
        const char32_t c = text.at(i);
        if (IsBoundary(c)) {
            const std::string segment = text.text(segmentStart.value_or(0), i);
            CharFormat format;
            if (!segmentStart) {
                format = text.format(0, i);
                previous = TagOf(format);
                html = FontTagText(*previous, itemId, i);
            } else {
                format = text.format(*segmentStart + 1, i);
                const FontTag tag = TagOf(format);
                if (tag == *previous) {
                    html += " ";
                } else {
                    html += "</SPAN></font> " + FontTagText(tag, itemId, i);
                    previous = tag;
                }
            }
            segmentStart = i;
            effects.apply(format, html);
            html += segment;
            if (c == RichText::kParagraphBreak) {
                html += "<BR>";
            }
        } else if (i == length - 1) {
            const std::string segment = text.text(segmentStart.value_or(0), length);
            const CharFormat format = text.format(length - 1, length - 1);
            const FontTag tag = TagOf(format);
            if (previous && tag == *previous) {
                html += " ";
            } else {
                if (previous) {
                    html += "</SPAN></font>";
                }
                html += FontTagText(tag, itemId, length - 1);
                previous = tag;
            }
            effects.apply(format, html);
            html += segment;
        }
    }
    effects.close(html);
    html += justify ? "</SPAN></font></p>" : "</SPAN></font>";
    return AsciiWithCharacterReferences(html);
}
