#include <gtest/gtest.h>

#include <chrono>

#include "textedit/rich_text.h"
#include "textedit/rtf_reader.h"
#include "textedit/rtf_writer.h"

namespace {

void ExpectSameText(const RichText& expected, const RichText& actual) {
    ASSERT_EQ(actual.text(), expected.text());
    for (std::size_t i = 0; i < expected.length(); ++i) {
        EXPECT_TRUE(actual.format(i, i + 1) == expected.format(i, i + 1)) << "character " << i;
    }
    ASSERT_EQ(actual.paragraphCount(), expected.paragraphCount());
    for (std::size_t p = 0; p < expected.paragraphCount(); ++p) {
        EXPECT_EQ(actual.alignment(p), expected.alignment(p)) << "paragraph " << p;
    }
}

CharFormat Format(const std::string& face, int size, unsigned char red, unsigned char green,
                  unsigned char blue, bool underline, bool bold, bool italic) {
    CharFormat format;
    format.face = face;
    format.size = size;
    format.red = red;
    format.green = green;
    format.blue = blue;
    format.underline = underline;
    format.bold = bold;
    format.italic = italic;
    return format;
}

}  // namespace

TEST(Rtf, MixedFormatsAndAlignmentsComeBackUnchanged) {
    RichText text;
    text.insert(0, "Title\r", Format("Arial", 18, 0, 128, 0, false, true, false));
    text.insert(text.length(), "Café {braces} \\ back\tslash ",
                Format("Times New Roman", 10, 0, 0, 0, false, false, true));
    text.insert(text.length(), "€uro 中文 😀", Format("Arial", 12, 255, 0, 0, true, false, false));
    text.insert(text.length(), "\r\rlast", Format("Courier New", 72, 1, 2, 3, true, true, true));
    text.setParagraphAlignment(0, Alignment::Centre);
    text.setParagraphAlignment(1, Alignment::Justify);
    text.setParagraphAlignment(2, Alignment::Right);
    ExpectSameText(text, ReadRtf(WriteRtf(text)));
}

TEST(Rtf, TheWriterSpeaksTheRichEditDialect) {
    RichText text;
    text.insert(0, "Hi ", CharFormat());
    text.insert(3, "é\r", Format("Arial", 12, 0, 0, 0, false, true, false));
    text.setParagraphAlignment(1, Alignment::Centre);
    EXPECT_EQ(WriteRtf(text),
              "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{\\f0\\fnil\\fcharset0 "
              "Arial;}}\r\n{\\colortbl ;\\red0\\green0\\blue0;}\r\n\\viewkind4\\uc1\\pard\\cf1\\f0"
              "\\fs24 Hi \\b \\'e9\\par\r\n\\pard\\qc \\par\r\n}\r\n");
}

TEST(Rtf, ReadsWhatAWindowsRichEditControlWrites) {
    const std::string sample =
        "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{\\f0\\fswiss\\fcharset0 "
        "Arial;}{\\f1\\froman\\fprq2\\fcharset0 Times New Roman;}}\r\n"
        "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}\r\n"
        "{\\*\\generator Msftedit 5.41.15.1515;}\\viewkind4\\uc1\\pard\\qc\\cf1\\b\\f0\\fs24 "
        "Title\\cf0\\b0\\par\r\n"
        "\\pard\\f1\\fs20 Caf\\'e9 \\i italic\\i0  and \\ul under\\ulnone  \\cf2 blue\\cf0\\par\r\n"
        "\\pard\\qj\\lang1031\\f0 \\u8364?uro\\tab x\\par\r\n"
        "}\r\n";
    const RichText text = ReadRtf(sample);
    EXPECT_EQ(text.text(), "Title\rCafé italic and under blue\r€uro\tx");
    ASSERT_EQ(text.paragraphCount(), 3u);
    EXPECT_EQ(text.alignment(0), Alignment::Centre);
    EXPECT_EQ(text.alignment(1), Alignment::Left);
    EXPECT_EQ(text.alignment(2), Alignment::Justify);
    EXPECT_TRUE(text.format(0, 1) == Format("Arial", 12, 255, 0, 0, false, true, false));
    EXPECT_TRUE(text.format(6, 7) == Format("Times New Roman", 10, 0, 0, 0, false, false, false));
    EXPECT_TRUE(text.format(11, 12).italic);
    EXPECT_FALSE(text.format(17, 18).italic);
    EXPECT_TRUE(text.format(22, 23).underline);
    const CharFormat blue = text.format(28, 29);
    EXPECT_EQ(blue.blue, 255);
    EXPECT_EQ(blue.red, 0);
    EXPECT_EQ(text.format(33, 34).face, "Arial");
    EXPECT_EQ(text.format(33, 34).size, 10);
}

TEST(Rtf, MalformedInputGivesTheBestTextItCan) {
    RichText cut = ReadRtf("{\\rtf1 Hello {\\b world");
    EXPECT_EQ(cut.text(), "Hello world");
    EXPECT_TRUE(cut.format(6, 7).bold);
    EXPECT_EQ(ReadRtf("{\\rtf1 a}}}} b").text(), "a b");
    EXPECT_EQ(ReadRtf(std::string("{\\rtf1 \0\x01 ok\\'zz\\'4", 20)).text().substr(0, 4),
              "\x01 ok");
    EXPECT_EQ(ReadRtf("{\\rtf1 \\fs99999999999999 big\\u-4000000000 \\").text().substr(0, 3),
              "big");
    EXPECT_EQ(ReadRtf("{\\rtf1\\").text(), "");
    EXPECT_EQ(ReadRtf("{\\rtf1 {\\*\\unknown skipped {nested}} kept}").text(), " kept");
    EXPECT_EQ(ReadRtf("plain\r\ntext").text(), "plain\rtext");
    EXPECT_EQ(ReadRtf("").text(), "");

    const auto start = std::chrono::steady_clock::now();
    const RichText deep = ReadRtf("{\\rtf1 " + std::string(200000, '{') + "deep" +
                                  std::string(200000, '}') + " end}");
    EXPECT_EQ(deep.text(), "deep end");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}
