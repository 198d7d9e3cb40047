#include "transfer/ftp_session.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "platform/password_vault.h"
#include "store/db/sqlite_cursor.h"
#include "store/db/sqlite_database.h"
#include "store/page_store.h"
#include "store/page_store_schema.h"
#include "support/fake_ports.h"
#include "support/plain_ftp.h"
#include "support/server_process.h"
#include "support/temp_folder.h"
#include "transfer/ftp_engine.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kServer = QUILLORA_TEST_DATA "/transfer/ftpserver.py";
constexpr const char* kTlsServer = QUILLORA_TEST_DATA "/transfer/tlsftpserver.py";

// Selects the entries by name in the pane's list.
std::vector<std::size_t> Rows(const std::vector<std::string>& entries,
                              const std::vector<std::string>& names) {
    std::vector<std::size_t> rows;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (std::find(names.begin(), names.end(), entries[i]) != names.end()) {
            rows.push_back(i);
        }
    }
    return rows;
}

class FtpSessionTest : public ::testing::Test {
  protected:
    // With TLS, a server that encrypts the login and refuses to encrypt the files (PROT P).
    explicit FtpSessionTest(bool tls = false)
        : server(tls ? kTlsServer : kServer,
                 tls ? std::vector<std::string>{"--home", home.path(), "--tls", certificates.path(),
                                                "--mode", "refuseprot"}
                     : std::vector<std::string>{"--home", home.path()}) {
        {
            SqliteDatabase db;
            db.open(working / "quilldata.db");
            CreatePageStore(db);
        }
        if (!tls) {
            AcceptPlainFtp(working.path(), server.port());
        }
        fs::create_directories(home / "images");
        fs::create_directories(home / "v1.2");
        fs::create_directories(home / "full/inside");
        WriteFile(home / "index.html", "<html>index</html>");
        WriteFile(home / "README", "read me");
        WriteFile(home / ".hidden", "");
        WriteFile(home / "images/logo.gif", "GIF89a");
        fs::create_directories(local / "sub");
        WriteFile(local / "one.html", "one");
        WriteFile(local / "two.gif", std::string(70000, 'x'));
    }

    std::string address() const { return "127.0.0.1:" + std::to_string(server.port()); }
    void logIn(FtpSession& target) {
        FtpPanes& panes = target.panes();
        panes.server = address();
        panes.user = "quill";
        panes.password = "secret";
        target.connect();
    }
    std::vector<std::string> texts() const {
        std::vector<std::string> all;
        for (const ShownMessage& shown : prompts.shown) {
            all.push_back(shown.caption + " " + shown.text);
        }
        return all;
    }

    TempFolder working;
    TempFolder home;
    TempFolder local;
    TempFolder certificates;
    FakePrompts prompts;
    ServerProcess server;
    FtpSession session{working.path(), local.path(), prompts};
};

class FtpsSessionTest : public FtpSessionTest {
  protected:
    FtpsSessionTest() : FtpSessionTest(true) {}
};

}  // namespace

TEST_F(FtpSessionTest, BlankFieldsAndAWrongPasswordKeepTheSessionClosed) {
    ASSERT_GT(server.port(), 0);
    FtpPanes& panes = session.panes();
    session.connect();
    panes.server = address();
    session.connect();
    panes.user = "quill";
    session.connect();
    panes.password = "wrong";
    session.connect();
    EXPECT_EQ(texts(),
              (std::vector<std::string>{"Data Check FTP server address blank.",
                                        "Data Check FTP account username is blank.",
                                        "Data Check Password is blank.",
                                        "FTP Error: Code: -67\nThe server refused the user name "
                                        "or password.\nThe server said: 530 Authentication "
                                        "failed."}));
    EXPECT_FALSE(panes.connected);
    prompts.shown.clear();
    session.refreshServerList();
    EXPECT_EQ(texts(), std::vector<std::string>{
                           "QUILLORA MESSAGE Action cancelled: No FTP server connection."});
}

TEST_F(FtpSessionTest, TheServerIsBrowsedByTheTypesItStates) {
    logIn(session);
    FtpPanes& panes = session.panes();
    ASSERT_TRUE(panes.connected) << (prompts.shown.empty() ? "" : prompts.shown[0].text);
    EXPECT_EQ(panes.serverFolder, "/");
    // README has no dot but is a file; v1.2 has one but is a folder.
    EXPECT_EQ(panes.serverEntries,
              (std::vector<std::string>{"full  [FOLDER]", "images  [FOLDER]", "index.html",
                                        "README", "v1.2  [FOLDER]"}));
    EXPECT_NE(ReadFile(working / "conftp.log").find("--> Plain FTP: the server offers no TLS"),
              std::string::npos);
    session.serverFolderUp();
    EXPECT_EQ(texts(), std::vector<std::string>{"Quillora Message Already at FTP account root."});
    prompts.shown.clear();

    panes.serverCaret = 2;
    session.openServerFolder();
    EXPECT_EQ(texts(), std::vector<std::string>{"Quillora Message Selected file is not a folder."});
    panes.serverCaret = 1;
    session.openServerFolder();
    EXPECT_EQ(panes.serverFolder, "/images");
    EXPECT_EQ(panes.serverEntries, std::vector<std::string>{"logo.gif"});
    // One level below "/": the folder above is the root, and the label names it.
    session.serverFolderUp();
    EXPECT_EQ(panes.serverFolder, "/");
    EXPECT_EQ(panes.serverEntries.size(), 5u);
}

TEST_F(FtpSessionTest, FoldersAreMadeAndEntriesDeleted) {
    logIn(session);
    FtpPanes& panes = session.panes();
    prompts.newFolderNames = {std::string(""), std::string("made")};
    session.makeServerFolder();
    session.makeServerFolder();
    EXPECT_TRUE(fs::is_directory(home / "made"));
    const std::vector<std::size_t> chosen =
        Rows(panes.serverEntries, {"index.html", "full  [FOLDER]", "made  [FOLDER]", "README"});
    // Nothing goes before the user says yes; connecting again shows the folder anew.
    panes.serverSelection = chosen;
    prompts.answers = {MessageAnswer::No};
    session.deleteServerItems();
    EXPECT_TRUE(fs::exists(home / "index.html"));
    WriteFile(home / "extra.txt", "put there by someone else");
    session.connect();
    EXPECT_EQ(panes.serverEntries.size(), 7u);
    fs::remove(home / "extra.txt");
    session.connect();
    panes.serverSelection = chosen;
    prompts.answers = {MessageAnswer::Yes};
    session.deleteServerItems();
    EXPECT_EQ(texts(),
              (std::vector<std::string>{
                  "Quillora Message Folder name cannot be blank.",
                  "QUILLORA MESSAGE Delete the 4 selected entries from the FTP server? This "
                  "cannot be undone.",
                  "QUILLORA MESSAGE Delete the 4 selected entries from the FTP server? This "
                  "cannot be undone.",
                  "QUILLORA MESSAGE Cannot delete non-empty folders."}));
    EXPECT_FALSE(fs::exists(home / "index.html"));
    EXPECT_FALSE(fs::exists(home / "README"));
    EXPECT_FALSE(fs::exists(home / "made"));
    EXPECT_TRUE(fs::exists(home / "full"));
    EXPECT_EQ(panes.serverEntries,
              (std::vector<std::string>{"full  [FOLDER]", "images  [FOLDER]", "v1.2  [FOLDER]"}));
}

TEST_F(FtpSessionTest, FilesGoUpAndComeDownFoldersAreRefused) {
    session.fillLocalList();
    logIn(session);
    FtpPanes& panes = session.panes();
    EXPECT_EQ(panes.localEntries,
              (std::vector<std::string>{"one.html", "sub  [FOLDER]", "two.gif"}));
    panes.localSelection = {0, 1, 2};
    session.uploadFiles();
    EXPECT_EQ(ReadFile(home / "one.html"), "one");
    EXPECT_EQ(ReadFile(home / "two.gif"), std::string(70000, 'x'));
    EXPECT_EQ(texts(), std::vector<std::string>{"Folder Skipped Can't upload folders"});
    EXPECT_EQ(prompts.notices, (std::vector<bool>{true, false}));
    EXPECT_EQ(prompts.progress.back(), 100);

    fs::remove(local / "one.html");
    panes.serverSelection = Rows(panes.serverEntries, {"index.html", "images  [FOLDER]"});
    session.downloadFiles();
    EXPECT_EQ(ReadFile(local / "index.html"), "<html>index</html>");
    EXPECT_EQ(panes.localEntries,
              (std::vector<std::string>{"index.html", "sub  [FOLDER]", "two.gif"}));
    EXPECT_EQ(texts().back(), "Folder Skipped Can't download folders");
}

TEST_F(FtpSessionTest, AnUploadFromASiteFolderRemovesOnlyTheDeletedPagesItSentThereAsSent) {
    WriteFile(local / "three.html", "three");
    SqliteDatabase db;
    db.open(working / "quilldata.db");
    FakePrompts quiet;
    PageStore store(db, quiet);
    const auto deletePage = [&](const std::string& name) {
        PageRecord page;
        page.directory = local.path();
        page.fileName = name;
        ASSERT_TRUE(store.savePage(page));
        ASSERT_TRUE(store.deletePage(local.path(), name));
        fs::remove(local / name);
    };
    session.fillLocalList();
    logIn(session);
    FtpPanes& panes = session.panes();
    const auto upload = [&](const std::vector<std::string>& names) {
        session.fillLocalList();
        panes.localSelection = Rows(panes.localEntries, names);
        prompts.answers.clear();
        session.uploadFiles();
    };
    upload({"one.html", "three.html"});
    // index.html came from elsewhere; three.html was changed there since it was sent.
    deletePage("index.html");
    deletePage("one.html");
    WriteFile(home / "three.html", "theirs");
    deletePage("three.html");
    const std::size_t told = texts().size();
    upload({"two.gif"});
    EXPECT_TRUE(fs::exists(home / "index.html"));
    EXPECT_FALSE(fs::exists(home / "one.html"));
    EXPECT_EQ(ReadFile(home / "three.html"), "theirs");
    const std::vector<std::string> all = texts();
    EXPECT_EQ(std::vector<std::string>(all.begin() + static_cast<std::ptrdiff_t>(told), all.end()),
              (std::vector<std::string>{
                  "QUILLORA MESSAGE one.html is no longer a page of the site (deleted or "
                  "renamed), so it is removed from the server.",
                  "QUILLORA MESSAGE three.html on the server is not what this program sent "
                  "there, so it stays."}));
    // Each is settled once: the next upload asks nothing.
    upload({"two.gif"});
    EXPECT_EQ(texts().size(), told + 2);
}

TEST_F(FtpSessionTest, TheLoginIsRememberedOrForgotten) {
    session.loadLogin();
    EXPECT_FALSE(session.panes().remember);
    EXPECT_EQ(session.panes().server, "");
    session.panes().remember = true;
    session.panes().server = "ftp.example.org";
    session.panes().user = "o'neil";
    session.panes().password = std::string(120, 'p');
    session.close();

    FtpSession again(working.path(), local.path(), prompts);
    again.loadLogin();
    EXPECT_TRUE(again.panes().remember);
    EXPECT_EQ(again.panes().user, "o'neil");
    EXPECT_EQ(again.panes().password, std::string(120, 'p'));
    // A new session empties the fields; closing with the box ticked stores the empty texts.
    again.disconnect();
    again.close();
    SqliteDatabase db;
    db.open(working / "quilldata.db");
    EXPECT_EQ(db.runQuery("select SERVERNAME || '|' || USERNAME from ftplogin").textValue(0), "|");
    again.panes().remember = false;
    again.close();
    EXPECT_EQ(db.runQuery("select SERVERNAME || '|' || USERNAME || '|' || PASSWORD from ftplogin")
                  .textValue(0),
              "NOSERVER|0|0");
}

// A keyring in memory that can stop answering, as a locked or absent one does.
class MemoryVault : public PasswordVault {
  public:
    bool available() override { return answers; }
    bool store(const std::string& key, const std::string& password) override {
        if (answers) {
            kept[key] = password;
        }
        return answers;
    }
    std::optional<std::string> read(const std::string& key) override {
        const auto found = kept.find(key);
        return answers && found != kept.end() ? std::optional<std::string>(found->second)
                                              : std::nullopt;
    }
    void forget(const std::string& key) override { kept.erase(key); }

    bool answers = true;
    std::map<std::string, std::string> kept;
};

// A login typed into the server field is kept in its own fields, so no password is in a name;
// a keyring that does not answer when the uploader opens keeps what it holds.
TEST_F(FtpSessionTest, RememberedPasswordsStayOutOfNamesAndInTheKeyring) {
    MemoryVault vault;
    const std::string shown = "ftp://" + address();
    {
        FtpSession typed(working.path(), local.path(), prompts, &vault);
        typed.panes().remember = true;
        typed.panes().server = "ftp://quill:secret@" + address();
        typed.panes().user = "quill";
        typed.close();
    }
    EXPECT_EQ(vault.kept,
              (std::map<std::string, std::string>{{"ftp login quill@" + shown, "secret"}}));
    SqliteDatabase db;
    db.open(working / "quilldata.db");
    EXPECT_EQ(db.runQuery("select SERVERNAME || '|' || PASSWORD || '|' || KEYRING from ftplogin")
                  .textValue(0),
              shown + "||1");
    for (const bool answers : {false, true}) {
        vault.answers = answers;
        FtpSession later(working.path(), local.path(), prompts, &vault);
        later.loadLogin();
        EXPECT_EQ(later.panes().password, answers ? "secret" : "") << answers;
        later.close();
        EXPECT_EQ(vault.kept.size(), 1u) << answers;
        EXPECT_EQ(db.runScalar("select KEYRING from ftplogin"), 1) << answers;
    }
}

TEST_F(FtpsSessionTest, AnUnverifiedCertificateIsUsedOnlyOnceTheUserAgrees) {
    // TLS required: the server will not encrypt files, so it is refused.
    session.panes().protocol = TransferProtocol::FtpTlsRequired;
    logIn(session);
    EXPECT_TRUE(session.panes().serverEntries.empty());
    session.disconnect();
    session.panes().protocol = TransferProtocol::Ftp;
    prompts.shown.clear();

    prompts.answers = {MessageAnswer::No};
    logIn(session);
    EXPECT_FALSE(session.panes().connected);
    ASSERT_EQ(prompts.shown.size(), 2u);
    EXPECT_EQ(prompts.shown[0].caption, "FTP Security");
    EXPECT_NE(prompts.shown[0].text.find("Its key: SHA256:"), std::string::npos);
    EXPECT_EQ(prompts.shown[1].text, "Code: -60\nThe server's certificate could not be verified.");

    prompts.shown.clear();
    prompts.answers = {MessageAnswer::Yes};
    logIn(session);
    ASSERT_TRUE(session.panes().connected);
    // The files go in clear on this server: the window says so.
    ASSERT_EQ(prompts.shown.size(), 2u);
    EXPECT_NE(prompts.shown[1].text.find("refuses to encrypt files"), std::string::npos);
    EXPECT_EQ(session.panes().serverEntries.size(), 5u);
    WriteFile(local / "secure.txt", "over TLS");
    session.fillLocalList();
    session.panes().localSelection = Rows(session.panes().localEntries, {"secure.txt"});
    session.uploadFiles();
    EXPECT_EQ(ReadFile(home / "secure.txt"), "over TLS");
    EXPECT_NE(ReadFile(working / "conftp.log").find("--> TLS in use"), std::string::npos);
    EXPECT_EQ(ReadFile(working / "conftp.log").find("secret"), std::string::npos);
    // Remembered while the program runs: no second question.
    session.disconnect();
    prompts.shown.clear();
    logIn(session);
    EXPECT_TRUE(session.panes().connected);
    EXPECT_TRUE(prompts.shown.empty());

    // Another certificate at the same address is asked about again.
    session.disconnect();
    const int port = server.port();
    server.stop();
    TempFolder otherCertificates;
    ServerProcess other(kTlsServer, {"--home", home.path(), "--tls", otherCertificates.path(),
                                     "--port", std::to_string(port)});
    prompts.answers = {MessageAnswer::No};
    logIn(session);
    EXPECT_FALSE(session.panes().connected);
    ASSERT_FALSE(prompts.shown.empty());
    EXPECT_NE(prompts.shown[0].text.find("shows another certificate"), std::string::npos)
        << prompts.shown[0].text;
}

// A server that speaks TLS on every connection keeps the files encrypted, whatever else fails:
// a folder it will not list changes nothing for the files sent afterwards.
TEST(FtpsTransfers, AFailedListingNeverSendsTheFilesInClear) {
    TempFolder working;
    TempFolder home;
    TempFolder local;
    TempFolder certificates;
    const std::string log = working / "server.log";
    fs::create_directories(home / "unlisted");
    ServerProcess server(kTlsServer, {"--home", home.path(), "--tls", certificates.path(), "--mode",
                                      "unlisted", "--log", log});
    {
        SqliteDatabase db;
        db.open(working / "quilldata.db");
        CreatePageStore(db);
    }
    WriteFile(local / "page.html", "kept secret");
    FakePrompts prompts;
    FtpSession session{working.path(), local.path(), prompts};
    FtpPanes& panes = session.panes();
    panes.server = "127.0.0.1:" + std::to_string(server.port());
    panes.user = "quill";
    panes.password = "secret";
    prompts.answers = {MessageAnswer::Yes};
    session.connect();
    ASSERT_TRUE(panes.connected);
    panes.serverCaret = Rows(panes.serverEntries, {"unlisted  [FOLDER]"}).at(0);
    session.openServerFolder();
    ASSERT_FALSE(prompts.shown.empty());
    EXPECT_NE(prompts.shown.back().text.find("Code: "), std::string::npos);
    session.fillLocalList();
    panes.localSelection = Rows(panes.localEntries, {"page.html"});
    session.uploadFiles();
    EXPECT_EQ(ReadFile(home / "unlisted/page.html"), "kept secret");
    const std::string received = ReadFile(log);
    EXPECT_EQ(received.find("PROT C"), std::string::npos) << received;
    EXPECT_EQ(received.find("DATA CLEAR"), std::string::npos) << received;
    EXPECT_NE(received.find("STOR .page.html.part\nDATA TLS"), std::string::npos) << received;
    for (const ShownMessage& shown : prompts.shown) {
        EXPECT_EQ(shown.text.find("refuses to encrypt files"), std::string::npos) << shown.text;
    }
}

TEST_F(FtpSessionTest, EncryptedOnlyRefusesAServerWithoutTls) {
    session.panes().protocol = TransferProtocol::FtpTlsRequired;
    logIn(session);
    EXPECT_FALSE(session.panes().connected);
    EXPECT_EQ(texts(), std::vector<std::string>{"FTP Error: Code: -64\nThe server does not offer "
                                                "the encryption asked for.\nThe server said: 500 "
                                                "Command \"AUTH\" not understood."});
}

TEST(FtpListing, TypesComeFromTheServerWhereItStatesThem) {
    EXPECT_EQ(
        ParseFtpListing("README\r\nimages\r\n.hidden\r\nv1.2\r\nindex.html\r\n"),
        (std::vector<std::string>{"README  [FOLDER]", "images  [FOLDER]", "v1.2", "index.html"}));
    EXPECT_TRUE(ParseFtpListing("no line end").empty());
    const std::pair<std::string, std::string> lines[] = {
        {"type=dir;modify=20240101; v1.2", "v1.2  [FOLDER]"},
        {"type=file;size=7; README", "README"},
        {"drwxr-xr-x   2 quill quill 4096 Jan 01 10:00 my folder.d", "my folder.d  [FOLDER]"},
        {"-rw-r--r--   1 quill quill    7 Jan 01 10:00 NOTES", "NOTES"},
        {"01-02-24  10:00AM       <DIR>          old.site", "old.site  [FOLDER]"},
        {"plain", "plain  [FOLDER]"},
    };
    for (const auto& [line, entry] : lines) {
        const bool facts = line.find(';') != std::string::npos;
        EXPECT_EQ(FtpListEntries({ParseListingLine(line, facts)}), std::vector<std::string>{entry})
            << line;
    }
    EXPECT_EQ(LocalFolderAbove("/home/user"), "/home");
    EXPECT_EQ(LocalFolderAbove("/home"), "/");
    EXPECT_EQ(LocalFolderAbove("/"), "/");
    EXPECT_EQ(ServerFolderAbove("/a/b"), "/a");
    EXPECT_EQ(ServerFolderAbove("/a"), "/");
}

TEST_F(FtpSessionTest, NoPasswordReachesTheLogWhichStaysSmall) {
    // The password typed into the server field as well as into its own.
    FtpPanes& panes = session.panes();
    panes.server = "ftp://quill:secret@" + address();
    panes.user = "quill";
    panes.password = "secret";
    session.connect();
    ASSERT_TRUE(panes.connected);
    session.fillLocalList();
    panes.localSelection = Rows(panes.localEntries, {"one.html"});
    session.uploadFiles();
    session.close();
    const std::string log = ReadFile(working / "conftp.log");
    EXPECT_NE(log.find("--> Connecting to ftp://127.0.0.1:"), std::string::npos) << log;
    EXPECT_EQ(log.find("secret"), std::string::npos) << log;
    for (const ShownMessage& shown : prompts.shown) {
        EXPECT_EQ(shown.text.find("secret"), std::string::npos) << shown.text;
    }

    FtpEngine engine(working / "conftp.log");
    engine.ftpeAttach();
    for (int line = 0; line < 20000; ++line) {
        engine.ftpeLog(std::string(100, 'x'));
    }
    EXPECT_LE(std::filesystem::file_size(working / "conftp.log"), 1024u * 1024u);
    EXPECT_GT(std::filesystem::file_size(working / "conftp.log.1"), 512u * 1024u);
}

// Servers that misbehave as real ones do: whatever breaks, no half file takes a real name, on
// either side, and nothing hangs.
TEST(FtpTransfers, NoHalfFileTakesARealNameAndNothingHangs) {
    struct Stand {
        explicit Stand(const char* mode)
            : server(kServer, {"--home", home.path(), "--mode", mode}) {
            {
                SqliteDatabase db;
                db.open(working / "quilldata.db");
                CreatePageStore(db);
            }
            AcceptPlainFtp(working.path(), server.port());
            WriteFile(home / "live.html", "the live page");
            WriteFile(home / "big.bin", std::string(2 * 1024 * 1024, 'b'));
            WriteFile(local / "live.html", std::string(400 * 1024, 'n'));
            WriteFile(local / "big.bin", "the local copy");
            session.setStallLimit(2);
            FtpPanes& panes = session.panes();
            panes.server = "127.0.0.1:" + std::to_string(server.port());
            panes.user = "quill";
            panes.password = "secret";
            session.connect();
            session.fillLocalList();
        }
        void select(bool serverSide, const std::string& name) {
            FtpPanes& panes = session.panes();
            if (serverSide) {
                panes.serverSelection = Rows(panes.serverEntries, {name});
            } else {
                panes.localSelection = Rows(panes.localEntries, {name});
            }
        }
        std::string errors() const {
            std::string all;
            for (const ShownMessage& shown : prompts.shown) {
                all += shown.text + "\n";
            }
            return all;
        }
        TempFolder working;
        TempFolder home;
        TempFolder local;
        FakePrompts prompts;
        ServerProcess server;
        FtpSession session{working.path(), local.path(), prompts};
    };

    {
        // A download the server refuses: the local file stays as it was.
        Stand stand("normal");
        fs::remove(stand.home / "big.bin");
        stand.session.refreshServerList();
        stand.session.panes().serverEntries.push_back("big.bin");
        stand.select(true, "big.bin");
        stand.session.downloadFiles();
        EXPECT_EQ(ReadFile(stand.local / "big.bin"), "the local copy");
        EXPECT_NE(stand.errors().find("Code: -78"), std::string::npos) << stand.errors();
        EXPECT_FALSE(fs::exists(stand.local / ".big.bin.part"));
    }
    {
        // The connection breaks half-way through an upload: the live page is untouched.
        Stand stand("dropupload");
        stand.select(false, "live.html");
        stand.session.uploadFiles();
        EXPECT_TRUE(ReadFile(stand.home / "live.html") == "the live page")
            << ReadFile(stand.working / "conftp.log");
        EXPECT_FALSE(stand.errors().empty());
    }
    {
        // A server that will not rename gets the file under its own name, once.
        Stand stand("norename");
        stand.select(false, "live.html");
        stand.session.uploadFiles();
        EXPECT_TRUE(ReadFile(stand.home / "live.html") == std::string(400 * 1024, 'n'));
        EXPECT_FALSE(fs::exists(stand.home / ".live.html.part"));
        EXPECT_TRUE(stand.prompts.shown.empty()) << stand.errors();
        EXPECT_NE(
            ReadFile(stand.working / "conftp.log").find("sending live.html under its own name"),
            std::string::npos);
    }
    {
        // A full disk and a local link out of the folder are named as the cause.
        Stand stand("diskfull");
        stand.select(false, "live.html");
        stand.session.uploadFiles();
        EXPECT_NE(stand.errors().find("The server had no room for the file.\nThe server said: "
                                      "451 Requested action aborted: disk full."),
                  std::string::npos)
            << stand.errors();
        EXPECT_TRUE(ReadFile(stand.home / "live.html") == "the live page");
        stand.prompts.shown.clear();
        WriteFile(stand.working / "outside.txt", "not to be overwritten");
        fs::remove(stand.local / "big.bin");
        fs::create_symlink(stand.working / "outside.txt", stand.local / "big.bin");
        stand.select(true, "big.bin");
        stand.session.downloadFiles();
        EXPECT_NE(stand.errors().find("symbolic link that leads out of the folder"),
                  std::string::npos)
            << stand.errors();
        EXPECT_EQ(ReadFile(stand.working / "outside.txt"), "not to be overwritten");
    }
    {
        // Another server typed while connected: CONNECT goes there, and so does the next PUT.
        Stand first("normal");
        Stand second("normal");
        WriteFile(second.home / "only-here.html", "second");
        FtpPanes& panes = first.session.panes();
        panes.server = "127.0.0.1:" + std::to_string(second.server.port());
        AcceptPlainFtp(first.working.path(), second.server.port());
        first.session.connect();
        EXPECT_EQ(Rows(panes.serverEntries, {"only-here.html"}).size(), 1u) << first.errors();
        first.select(false, "live.html");
        first.session.uploadFiles();
        EXPECT_TRUE(ReadFile(second.home / "live.html") == std::string(400 * 1024, 'n'));
        EXPECT_EQ(ReadFile(first.home / "live.html"), "the live page");
    }
    for (const char* lying : {"liar", "fakerename"}) {
        // A server that confirms an upload it threw away, or a rename it never made, is told.
        Stand stand(lying);
        stand.select(false, "live.html");
        stand.session.uploadFiles();
        EXPECT_TRUE(ReadFile(stand.home / "live.html") == "the live page");
        EXPECT_NE(stand.errors().find("does not hold them whole:\nlive.html: the server holds 13 "
                                      "of 409600 bytes"),
                  std::string::npos)
            << lying << stand.errors();
    }
    {
        // A download that stops moving fails within the stall limit.
        Stand stand("stall");
        stand.select(true, "big.bin");
        const auto start = std::chrono::steady_clock::now();
        stand.session.downloadFiles();
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
        EXPECT_NE(stand.errors().find("Code: -28"), std::string::npos) << stand.errors();
        EXPECT_TRUE(ReadFile(stand.local / "big.bin") == "the local copy");
        EXPECT_FALSE(fs::exists(stand.local / ".big.bin.part"));
    }
    {
        // Cancel ends a slow transfer at once and takes away what it wrote, both ways.
        Stand stand("slow");
        stand.select(true, "big.bin");
        stand.prompts.cancelAtStep = 10;
        const auto start = std::chrono::steady_clock::now();
        stand.session.downloadFiles();
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
        EXPECT_TRUE(ReadFile(stand.local / "big.bin") == "the local copy");
        EXPECT_FALSE(fs::exists(stand.local / ".big.bin.part"));
        stand.prompts.transferSteps = 0;
        stand.select(false, "live.html");
        stand.session.uploadFiles();
        EXPECT_TRUE(ReadFile(stand.home / "live.html") == "the live page");
        EXPECT_FALSE(fs::exists(stand.home / ".live.html.part"));
        EXPECT_TRUE(stand.prompts.shown.empty()) << stand.errors();
    }
}
