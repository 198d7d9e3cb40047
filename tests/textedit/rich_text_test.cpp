#include "textedit/rich_text.h"

#include <gtest/gtest.h>

namespace {

CharFormat Bold() {
    CharFormat format;
    format.bold = true;
    return format;
}

}  // namespace

TEST(RichText, PositionsCountCharactersNotBytes) {
    RichText text("Zoë 😀!", CharFormat());
    EXPECT_EQ(text.length(), 6u);
    EXPECT_EQ(text.text(2, 5), "ë 😀");
    EXPECT_EQ(text.text(4, 99), "😀!");
}

TEST(RichText, AnEmptyRangeTakesTheFormatTypingThereWouldGet) {
    RichText text;
    CharFormat courier;
    courier.face = "Courier New";
    text.setDefaultFormat(courier);
    EXPECT_EQ(text.format(0, 0).face, "Courier New");

    text.insert(0, "ab", Bold());
    text.insert(2, "cd", CharFormat());
    EXPECT_TRUE(text.format(0, 0).bold);   // the first character at position 0
    EXPECT_TRUE(text.format(2, 2).bold);   // the character before
    EXPECT_FALSE(text.format(2, 3).bold);  // a range: its first character
    EXPECT_FALSE(text.format(4, 4).bold);
}

TEST(RichText, ReplacingKeepsFormatsAndParagraphsInStep) {
    RichText text("one\rtwo\rthree", CharFormat());
    text.setAlignment(4, 4, Alignment::Centre);
    text.setAlignment(9, 9, Alignment::Right);
    ASSERT_EQ(text.paragraphCount(), 3u);

    // Joining the first two paragraphs keeps the first one's alignment.
    text.replace(2, 5, "X", Bold());
    EXPECT_EQ(text.text(), "onXwo\rthree");
    EXPECT_EQ(text.paragraphCount(), 2u);
    EXPECT_EQ(text.alignment(0), Alignment::Left);
    EXPECT_EQ(text.alignment(1), Alignment::Right);
    EXPECT_TRUE(text.format(2, 3).bold);
    EXPECT_FALSE(text.format(3, 4).bold);
    EXPECT_EQ(text.selectionStart(), 3u);

    // A break typed into a paragraph gives the new paragraph the same alignment.
    text.insert(8, "\r", CharFormat());
    EXPECT_EQ(text.paragraphCount(), 3u);
    EXPECT_EQ(text.alignment(2), Alignment::Right);
    EXPECT_EQ(text.paragraphAt(9), 2u);
}

TEST(RichText, SettingAFormatOrAlignmentCoversTheWholeRange) {
    RichText text("a\rb\rc", CharFormat());
    text.setFormat(1, 4, Bold());
    EXPECT_FALSE(text.format(0, 1).bold);
    EXPECT_TRUE(text.format(1, 2).bold);
    EXPECT_TRUE(text.format(3, 4).bold);
    EXPECT_FALSE(text.format(4, 5).bold);
    text.setAlignment(0, 5, Alignment::Justify);
    for (std::size_t paragraph = 0; paragraph < 3; ++paragraph) {
        EXPECT_EQ(text.alignment(paragraph), Alignment::Justify);
    }
    text.select(5, 1);
    EXPECT_EQ(text.selectionStart(), 1u);
    EXPECT_EQ(text.selectionEnd(), 5u);
}
