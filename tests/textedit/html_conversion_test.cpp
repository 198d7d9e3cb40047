#include "textedit/html_conversion.h"

#include <gtest/gtest.h>

#include "textedit/rich_text.h"

namespace {

const std::string kId = "pagetextitem3~";

std::string Tag(std::size_t position, int size = 12, const std::string& colour = "#000000",
                const std::string& face = "Arial") {
    return "<font face='" + face + "' color='" + colour + "'><SPAN id='" + kId +
           std::to_string(position) + "' style='font-size:" + std::to_string(size) + "pt;'>";
}

std::string Convert(const std::string& words, bool justify = false) {
    RichText text(words, CharFormat());
    return convertToHtml(text, kId, justify);
}

// Applies a change to the format of the range [start, end).
template <typename Change>
void Reformat(RichText& text, std::size_t start, std::size_t end, Change change) {
    for (std::size_t i = start; i < end; ++i) {
        CharFormat format = text.format(i, i + 1);
        change(format);
        text.setFormat(i, i + 1, format);
    }
}

}  // namespace

TEST(ConvertToHtml, WordsOfOneFormatShareOneFontTag) {
    EXPECT_EQ(Convert("Hello world"), Tag(5) + "Hello  world</SPAN></font>");
    EXPECT_EQ(Convert("Hello world", true), Tag(5) + "Hello  world</SPAN></font></p>");
    EXPECT_EQ(Convert("Hello"), Tag(4) + "Hello</SPAN></font>");
    EXPECT_EQ(Convert(""), "</SPAN></font>");
    EXPECT_EQ(Convert("", true), "</SPAN></font></p>");
}

TEST(ConvertToHtml, ParagraphBreaksAndLeadingBoundaries) {
    EXPECT_EQ(Convert("abc\rdef"), Tag(3) + "abc<BR> \rdef</SPAN></font>");
    EXPECT_EQ(Convert("\rabc def"), Tag(0) + "<BR> \rabc  def</SPAN></font>");
    EXPECT_EQ(Convert(" abc"), Tag(0) + "  abc</SPAN></font>");
    EXPECT_EQ(Convert("a\r\rb"), Tag(1) + "a<BR> \r<BR> \rb</SPAN></font>");
}

TEST(ConvertToHtml, EffectsOpenAndCloseIndependently) {
    RichText boldLast("Hello world", CharFormat());
    Reformat(boldLast, 6, 11, [](CharFormat& f) { f.bold = true; });
    EXPECT_EQ(convertToHtml(boldLast, kId, false), Tag(5) + "Hello <b> world</b></SPAN></font>");

    // Underline over "bb cc", bold over "cc dd": the tags do not nest.
    RichText crossed("aa bb cc dd", CharFormat());
    Reformat(crossed, 3, 8, [](CharFormat& f) { f.underline = true; });
    Reformat(crossed, 6, 11, [](CharFormat& f) { f.bold = true; });
    EXPECT_EQ(convertToHtml(crossed, kId, true),
              Tag(2) + "aa <u> bb <b> cc </u> dd</b></SPAN></font></p>");

    RichText italic("x yy z", CharFormat());
    Reformat(italic, 2, 4, [](CharFormat& f) { f.italic = true; });
    EXPECT_EQ(convertToHtml(italic, kId, false), Tag(1) + "x <i> yy </i> z</SPAN></font>");
}

TEST(ConvertToHtml, FaceColourAndSizeChangesStartANewFontTag) {
    RichText text("red blue plain", CharFormat());
    Reformat(text, 4, 8, [](CharFormat& f) { f.red = 255; });
    Reformat(text, 9, 14, [](CharFormat& f) { f.face = "Times New Roman"; });
    EXPECT_EQ(convertToHtml(text, kId, false),
              Tag(3) + "red</SPAN></font> " + Tag(8, 12, "#FF0000") + " blue</SPAN></font>" +
                  Tag(13, 12, "#000000", "Times New Roman") + " plain</SPAN></font>");
}

TEST(ConvertToHtml, AWordTakesTheFormatOfItsFirstCharacter) {
    RichText small("one twoo three", CharFormat());
    Reformat(small, 6, 8, [](CharFormat& f) { f.size = 20; });
    EXPECT_EQ(convertToHtml(small, kId, false), Tag(3) + "one  twoo  three</SPAN></font>");

    RichText large("one twoo three", CharFormat());
    Reformat(large, 4, 6, [](CharFormat& f) { f.size = 20; });
    EXPECT_EQ(convertToHtml(large, kId, false), Tag(3) + "one</SPAN></font> " + Tag(8, 20) +
                                                    " twoo</SPAN></font>" + Tag(13) +
                                                    " three</SPAN></font>");

    // The last word is sampled where typing at its last character would take the format from:
    // the character before.
    RichText last("ab cd", CharFormat());
    Reformat(last, 4, 5, [](CharFormat& f) { f.bold = true; });
    EXPECT_EQ(convertToHtml(last, kId, false), Tag(2) + "ab  cd</SPAN></font>");
}

TEST(ConvertToHtml, AdjacentTagsAreSeparatedInTheTextItself) {
    RichText text("<img src='a.gif'><br>", CharFormat());
    EXPECT_EQ(convertToHtml(text, kId, false), Tag(4) + "<img  src='a.gif'>  <br></SPAN></font>");
    EXPECT_EQ(text.text(), "<img src='a.gif'> <br>");
    RichText many("><><", CharFormat());
    SeparateAdjacentTags(many);
    EXPECT_EQ(many.text(), "> <> <");
}

TEST(ConvertToHtml, CharactersOutsideAsciiBecomeReferencesAndCountOnce) {
    EXPECT_EQ(Convert("Café au lait"), Tag(4) + "Caf&#233;  au  lait</SPAN></font>");
    EXPECT_EQ(Convert("€ 😀"), Tag(1) + "&#8364;  &#128512;</SPAN></font>");
}
