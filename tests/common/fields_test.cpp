#include "common/fields.h"

#include <gtest/gtest.h>

#include "common/text_splitter.h"

TEST(Fields, FieldsAreCountedFromZeroAndMissingOnesAreEmpty) {
    EXPECT_EQ(FieldAt("a|bb|c", 0, "|"), "a");
    EXPECT_EQ(FieldAt("a|bb|c", 1, "|"), "bb");
    EXPECT_EQ(FieldAt("a|bb|c", 2, "|"), "c");
    EXPECT_EQ(FieldAt("a|bb|c", 3, "|"), "");
    EXPECT_EQ(FieldAt("a|bb|c", -1, "|"), "");
    EXPECT_EQ(FieldAt("|x|", 0, "|"), "");
    EXPECT_EQ(FieldAt("|x|", 2, "|"), "");
    EXPECT_EQ(FieldAt("no separator", 0, "|"), "no separator");
    EXPECT_EQ(FieldAt("<div id='dpageimageitem5~'>^120^80", 2, "^"), "80");
}

TEST(Fields, CountIsOneMoreThanTheSeparators) {
    EXPECT_EQ(FieldCount("", "|"), 1);
    EXPECT_EQ(FieldCount("abc", "|"), 1);
    EXPECT_EQ(FieldCount("|", "|"), 2);
    EXPECT_EQ(FieldCount("a|b|c", "|"), 3);
    EXPECT_EQ(FieldCount("a^^b", "^"), 3);
    EXPECT_EQ(FieldCount("a--b--c", "--"), 3);
    EXPECT_EQ(FieldAt("a--b--c", 1, "--"), "b");
}

namespace {
std::vector<std::string> Pieces(const std::string& text, const std::string& separator) {
    std::vector<std::string> pieces;
    TextSplitter splitter(text, separator);
    while (splitter.hasMore()) {
        pieces.push_back(splitter.next());
    }
    return pieces;
}
}  // namespace

TEST(TextSplitter, GivesEveryPieceIncludingEmptyOnes) {
    using V = std::vector<std::string>;
    EXPECT_EQ(Pieces("a|b|c", "|"), (V{"a", "b", "c"}));
    EXPECT_EQ(Pieces("|a", "|"), (V{"", "a"}));
    EXPECT_EQ(Pieces("a|", "|"), (V{"a", ""}));
    EXPECT_EQ(Pieces("a||b", "|"), (V{"a", "", "b"}));
    EXPECT_EQ(Pieces("one\r\ntwo", "\r\n"), (V{"one", "two"}));
}

TEST(TextSplitter, TextWithoutTheSeparatorGivesNoPiece) {
    EXPECT_TRUE(Pieces("abc", "|").empty());
    EXPECT_TRUE(Pieces("", "|").empty());
    TextSplitter splitter("abc", "|");
    EXPECT_EQ(splitter.next(), "");
}
