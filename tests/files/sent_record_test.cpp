#include "files/sent_record.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "files/content_hash.h"
#include "support/temp_folder.h"

namespace fs = std::filesystem;

// The record tells change by size, time and content: a file as recorded is not read again,
// one touched is hashed, and records of earlier versions (SHA-256, no time) still count.
TEST(SentRecord, ChangeIsToldBySizeTimeAndContentAndOldRecordsStillCount) {
    TempFolder working;
    const std::string page = working / "page.html";
    WriteFile(page, "the page");
    const std::string target = "ftp|host|me|/www";
    {
        // Written as an earlier version wrote it: the file's SHA-256, no modification time.
        SentRecord naming(working.path(), target);
        naming.sent("other.html", page);
    }
    fs::path records = working / "sent";
    const fs::path file = fs::directory_iterator(records)->path();
    std::ofstream(file, std::ios::app) << "8 " << Sha256OfFile(page) << " 1700000000 page.html\n";
    SentRecord record(working.path(), target);
    EXPECT_FALSE(record.needsSending("page.html", page, 8));
    EXPECT_TRUE(record.needsSending("page.html", page, 9));
    EXPECT_TRUE(record.needsSending("new.html", page, std::nullopt));

    record.sent("page.html", page);
    EXPECT_EQ(ContentHashOfFile(page).size(), 32u);
    // Same size and time: taken as unchanged without reading it.
    const auto time = fs::last_write_time(page);
    WriteFile(page, "the PAGE");
    fs::last_write_time(page, time);
    EXPECT_FALSE(SentRecord(working.path(), target).needsSending("page.html", page, 8));
    // Another time: read, and the other content goes; the same content touched does not.
    fs::last_write_time(page, time + std::chrono::seconds(5));
    EXPECT_TRUE(SentRecord(working.path(), target).needsSending("page.html", page, 8));
    WriteFile(page, "the page");
    EXPECT_FALSE(SentRecord(working.path(), target).needsSending("page.html", page, 8));
}

// A file saved again while it went is not recorded: the next upload sends it again.
TEST(SentRecord, AFileChangedWhileItWentIsSentAgain) {
    TempFolder working;
    const std::string page = working / "page.html";
    WriteFile(page, "the page");
    SentRecord record(working.path(), "sftp|host|me|/www");
    const std::optional<SentRecord::LocalState> before = SentRecord::Look(page);
    ASSERT_TRUE(before);
    WriteFile(page, "the PAGE, saved again");
    fs::last_write_time(page, fs::last_write_time(page) + std::chrono::seconds(2));
    record.sent("page.html", page, ContentHashOfFile(page), before);
    EXPECT_TRUE(record.needsSending("page.html", page, 8));
    record.sent("page.html", page, ContentHashOfFile(page), SentRecord::Look(page));
    EXPECT_FALSE(
        SentRecord(working.path(), "sftp|host|me|/www").needsSending("page.html", page, 21));
}
