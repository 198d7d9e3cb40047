#include "store/db/sqlite_blob_text.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "store/db/sqlite_database.h"
#include "store/db/sqlite_exception.h"
#include "store/db/sqlite_format.h"
#include "support/temp_folder.h"

namespace {

std::string EncodedOf(const std::string& bytes) {
    SqliteBlobText codec;
    codec.setRaw(bytes);
    return codec.encoded();
}

std::string DecodedOf(const std::string& text) {
    SqliteBlobText codec;
    codec.setEncoded(text);
    return codec.raw();
}

void ExpectCleanText(const std::string& text) {
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(text.find('\0'), std::string::npos);
    EXPECT_EQ(text.find('\''), std::string::npos);
    for (std::size_t i = 1; i < text.size(); ++i) {
        if (text[i] == '\x01') {
            ASSERT_LT(i + 1, text.size());
            EXPECT_TRUE(text[i + 1] >= 1 && text[i + 1] <= 3);
            ++i;
        }
    }
}

}  // namespace

TEST(SqliteBlobText, KnownEncodings) {
    EXPECT_EQ(EncodedOf(""), "x");
    EXPECT_EQ(DecodedOf("x"), "");

    const std::string zeros = EncodedOf(std::string(10240, '\0'));
    ASSERT_EQ(zeros.size(), 10241u);
    EXPECT_EQ(zeros[0], '\x01');
    EXPECT_EQ(zeros.find_first_not_of('\xFF', 1), std::string::npos);

    // Offset 1 meets no 1, 2 or 40 in the input, so it is taken at once.
    EXPECT_EQ(EncodedOf("A"), std::string("\x01\x40", 2));
    // Bytes 1 and 2 and 40 knock out candidates 1 (1, 2, 40) and 2 (2, 3, 41).
    EXPECT_EQ(EncodedOf(std::string("\x01\x02\x28", 3)), std::string("\x03\xFE\xFF\x25", 4));
    // Every candidate of 1..255 hit: the fewest hits win, then the lowest candidate.
    std::string everyByte;
    for (int b = 0; b < 256; ++b) {
        everyByte += static_cast<char>(b);
    }
    const std::string encoded = EncodedOf(everyByte);
    EXPECT_EQ(encoded[0], '\x01');
    EXPECT_EQ(encoded.size(), 1u + 256u + 3u);
    ExpectCleanText(encoded);
    EXPECT_EQ(DecodedOf(encoded), everyByte);
}

TEST(SqliteBlobText, RoundTripsRandomBlocksAndEveryByteValue) {
    std::mt19937 random(20261207);
    for (int round = 0; round < 200; ++round) {
        std::string bytes(random() % 3000, '\0');
        // Skewed blocks make escapes likely; uniform ones test the choice of offset.
        const bool skewed = round % 2 == 0;
        for (char& c : bytes) {
            c = static_cast<char>(skewed ? "\x00\x01\x27\x28\xFF"[random() % 5] : random());
        }
        const std::string text = EncodedOf(bytes);
        ExpectCleanText(text);
        ASSERT_EQ(DecodedOf(text), bytes) << "round " << round;
    }
    for (int b = 0; b < 256; ++b) {
        const std::string bytes(7, static_cast<char>(b));
        const std::string text = EncodedOf(bytes);
        ExpectCleanText(text);
        EXPECT_EQ(text.size(), 8u) << "byte " << b;
        EXPECT_EQ(DecodedOf(text), bytes);
    }
}

TEST(SqliteBlobText, BadEscapeFailsTheWholeDecode) {
    SqliteBlobText codec;
    codec.setEncoded(std::string("\x05\x01\x04", 3));
    try {
        codec.raw();
        FAIL() << "decoded a bad escape";
    } catch (const SqliteException& failure) {
        EXPECT_EQ(failure.message(), "DBLAYER_ERROR[1000]: Cannot decode binary");
    }
    // The text stays as it was.
    EXPECT_EQ(codec.encoded(), std::string("\x05\x01\x04", 3));
    codec.setEncoded(std::string("\x05\x07\x01", 3));
    EXPECT_THROW(codec.rawLength(), SqliteException);
    codec.setEncoded(std::string("\x05\x07\x00\x01", 4));
    EXPECT_EQ(codec.raw(), "\x0C");
}

TEST(SqliteBlobText, SurvivesAQuotedLiteralInARealDatabase) {
    TempFolder folder;
    SqliteDatabase db;
    db.open(folder / "blobs.db");
    db.runStatement("create table blobs (DATA text)");
    std::string bytes;
    for (int i = 0; i < 5000; ++i) {
        bytes += static_cast<char>((i * 7919) % 256);
    }
    SqliteBlobText codec;
    codec.setRaw(bytes.data(), bytes.size());
    SqliteFormat sql;
    db.runStatement(sql.format("insert into blobs values ('%s')", codec.encoded()));
    SqliteCursor row = db.runQuery("select DATA from blobs");
    SqliteBlobText back;
    back.setEncoded(row.textValue(0));
    EXPECT_EQ(back.rawLength(), bytes.size());
    EXPECT_EQ(back.raw(), bytes);
}
