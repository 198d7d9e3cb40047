#pragma once

#include <cstddef>
#include <string>
#include <vector>

// How a run of characters looks: face, size in whole points, colour, and three effects.
struct CharFormat {
    std::string face = "Arial";
    int size = 12;
    unsigned char red = 0;
    unsigned char green = 0;
    unsigned char blue = 0;
    bool underline = false;
    bool bold = false;
    bool italic = false;

    bool operator==(const CharFormat& other) const;
    bool operator!=(const CharFormat& other) const { return !(*this == other); }
};

enum class Alignment { Left, Right, Centre, Justify };

// A formatted text as the text editor holds it: characters (a paragraph ends with "\r"), each
// with its format, and an alignment per paragraph. Positions count characters (code points),
// not bytes; texts go in and come out as UTF-8.
class RichText {
  public:
    static constexpr char32_t kParagraphBreak = U'\r';

    RichText() = default;
    // A text in one format, left aligned.
    RichText(const std::string& utf8, const CharFormat& format);

    std::size_t length() const { return characters_.size(); }
    std::string text() const { return text(0, length()); }
    std::string text(std::size_t start, std::size_t end) const;
    char32_t at(std::size_t position) const { return characters_[position]; }

    // The format of the range's first character. For an empty range it is the format typing
    // there would get: that of the character before, of the first character at position 0,
    // and the default format in an empty text.
    CharFormat format(std::size_t start, std::size_t end) const;
    // The format of the character at the position, which must lie inside the text.
    const CharFormat& formatAt(std::size_t position) const { return formats_[formatOf_[position]]; }
    void setFormat(std::size_t start, std::size_t end, const CharFormat& format);
    const CharFormat& defaultFormat() const { return default_; }
    void setDefaultFormat(const CharFormat& format) { default_ = format; }

    void insert(std::size_t position, const std::string& utf8, const CharFormat& format);
    // The range's characters give way to the text; paragraphs joined by the removal take the
    // alignment of the first of them, paragraphs the text adds take that alignment too.
    void replace(std::size_t start, std::size_t end, const std::string& utf8,
                 const CharFormat& format);

    std::size_t paragraphCount() const { return alignments_.size(); }
    // The paragraph a position lies in, counted from 0.
    std::size_t paragraphAt(std::size_t position) const;
    Alignment alignment(std::size_t paragraph) const { return alignments_[paragraph]; }
    // Every paragraph the range touches.
    void setAlignment(std::size_t start, std::size_t end, Alignment alignment);
    void setParagraphAlignment(std::size_t paragraph, Alignment alignment);

    // The selection of the editing area: start and end, start <= end.
    std::size_t selectionStart() const { return selectionStart_; }
    std::size_t selectionEnd() const { return selectionEnd_; }
    void select(std::size_t start, std::size_t end);

  private:
    std::size_t clamp(std::size_t position) const;
    std::size_t formatIndex(const CharFormat& format);

    std::u32string characters_;
    // Index into formats_ for each character.
    std::vector<std::size_t> formatOf_;
    std::vector<CharFormat> formats_;
    std::vector<Alignment> alignments_{Alignment::Left};
    CharFormat default_;
    std::size_t selectionStart_ = 0;
    std::size_t selectionEnd_ = 0;
};
