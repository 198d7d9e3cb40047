#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>

#include "store/db/sqlite_cursor.h"
#include "store/db/sqlite_database.h"
#include "store/page_store_schema.h"
#include "support/fake_ports.h"
#include "support/ssh_server.h"
#include "transfer/ftp_engine.h"
#include "transfer/ftp_session.h"
#include "transfer/known_hosts.h"

namespace fs = std::filesystem;

namespace {

// The uploader's session on a real sshd, with a HOME of the test's own for ~/.ssh.
class SftpSessionTest : public ::testing::Test {
  protected:
    SftpSessionTest() {
        SqliteDatabase db;
        db.open(working / "quilldata.db");
        CreatePageStore(db);
        WriteFile(local / "page one.html", "<html>one</html>");
        WriteFile(local / "big.gif", std::string(300000, 'g'));
    }

    void logIn(const std::string& password = SshServer::kPassword) {
        FtpPanes& panes = session.panes();
        panes.protocol = TransferProtocol::Sftp;
        panes.server = server.address();
        panes.user = SshServer::kUser;
        panes.password = password;
        session.connect();
    }
    std::string knownHosts() const { return SshServer::ReadWhole(home / ".ssh/known_hosts"); }
    // Goes to a server folder the way the window's BACK and double clicks go.
    int engineFolder(const std::string& folder) {
        FtpPanes& panes = session.panes();
        while (panes.serverFolder != "/") {
            session.serverFolderUp();
        }
        for (const fs::path& part : fs::path(folder).relative_path()) {
            panes.serverCaret = row(part.string() + "  [FOLDER]");
            session.openServerFolder();
        }
        return panes.serverFolder == folder ? 0 : -1;
    }
    static std::size_t row(const std::vector<std::string>& entries, const std::string& entry) {
        return static_cast<std::size_t>(std::find(entries.begin(), entries.end(), entry) -
                                        entries.begin());
    }
    std::size_t row(const std::string& entry) {
        const auto& entries = session.panes().serverEntries;
        return static_cast<std::size_t>(std::find(entries.begin(), entries.end(), entry) -
                                        entries.begin());
    }

    TempFolder home;
    ScopedHome scopedHome{home.path()};
    TempFolder working;
    TempFolder local;
    SshServer server;
    FakePrompts prompts;
    FtpSession session{working.path(), local.path(), prompts};
};

}  // namespace

TEST_F(SftpSessionTest, AnUnknownHostIsAskedAboutThenTheSiteIsWorkedOn) {
    ASSERT_GT(server.port(), 0);
    const std::string site = server.ownedFolder("site");
    // No: nothing is written and the session stays closed, with the question alone shown.
    prompts.answers = {MessageAnswer::No};
    logIn();
    EXPECT_FALSE(session.panes().connected);
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].caption, "SFTP Security");
    EXPECT_NE(prompts.shown[0].text.find("ssh-ed25519 key fingerprint is SHA256:"),
              std::string::npos)
        << prompts.shown[0].text;
    EXPECT_FALSE(fs::exists(home / ".ssh/known_hosts"));

    // Yes: the key joins known_hosts as ssh writes it, and the next login asks nothing.
    prompts.shown.clear();
    prompts.answers = {MessageAnswer::Yes};
    logIn();
    ASSERT_TRUE(session.panes().connected) << prompts.shown.back().text;
    EXPECT_EQ(knownHosts(), server.knownHostsLine() + "\n");
    session.disconnect();
    prompts.shown.clear();
    logIn();
    ASSERT_TRUE(session.panes().connected);
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_EQ(session.panes().serverFolder, "/home/" + std::string(SshServer::kUser));

    // Browse to the site folder, make a folder there, send, fetch and delete.
    FtpPanes& panes = session.panes();
    prompts.newFolderNames = {std::string("made")};
    // Up to the root, then down through the folders of the site's path.
    while (panes.serverFolder != "/") {
        const std::string before = panes.serverFolder;
        session.serverFolderUp();
        ASSERT_NE(panes.serverFolder, before);
    }
    for (const fs::path& part : fs::path(site).relative_path()) {
        panes.serverCaret = row(part.string() + "  [FOLDER]");
        session.openServerFolder();
    }
    ASSERT_EQ(panes.serverFolder, site);
    session.makeServerFolder();
    EXPECT_TRUE(fs::is_directory(fs::path(site) / "made"));

    session.fillLocalList();
    panes.localSelection = {0, 1};
    session.uploadFiles();
    EXPECT_EQ(ReadFile(site + "/page one.html"), "<html>one</html>");
    EXPECT_EQ(ReadFile(site + "/big.gif"), std::string(300000, 'g'));
    EXPECT_EQ(prompts.progress.back(), 100);
    // Sent again over what is there: the temporary name replaces the old file.
    WriteFile(local / "page one.html", "<html>ONE</html>");
    panes.localSelection = {1};
    session.uploadFiles();
    EXPECT_EQ(ReadFile(site + "/page one.html"), "<html>ONE</html>");
    EXPECT_EQ(panes.serverEntries,
              (std::vector<std::string>{"big.gif", "made  [FOLDER]", "page one.html"}));

    fs::remove(local / "big.gif");
    panes.serverSelection = {row("big.gif")};
    session.downloadFiles();
    EXPECT_EQ(ReadFile(local / "big.gif"), std::string(300000, 'g'));
    EXPECT_FALSE(fs::exists(local / ".big.gif.part"));

    panes.serverSelection = {row("page one.html"), row("made  [FOLDER]")};
    prompts.answers = {MessageAnswer::Yes};
    session.deleteServerItems();
    EXPECT_FALSE(fs::exists(site + "/page one.html"));
    EXPECT_FALSE(fs::exists(site + "/made"));
    EXPECT_EQ(panes.serverEntries, std::vector<std::string>{"big.gif"});
    session.close();
    const std::string log = ReadFile(working / "conftp.log");
    EXPECT_NE(log.find("--> SFTP: the login and the files travel encrypted"), std::string::npos);
    EXPECT_EQ(log.find(SshServer::kPassword), std::string::npos);
}

TEST_F(SftpSessionTest, TheUsersKeyLogsInAndAChangedHostKeyIsRefused) {
    server.authorize(SshServer::MakeUserKey(home.path()));
    fs::create_directories(home / ".ssh");
    WriteFile(home / ".ssh/known_hosts", "# kept\n" + server.knownHostsLine() + "\n");
    // No password: the key in ~/.ssh logs in; so does the agent holding it.
    logIn("");
    EXPECT_TRUE(session.panes().connected);
    EXPECT_TRUE(prompts.shown.empty()) << prompts.shown[0].text;
    session.disconnect();
    const std::string agent = home / "agent.sock";
    ASSERT_EQ(std::system(("eval $(ssh-agent -s -a '" + agent + "') > /dev/null && echo " +
                           "$SSH_AGENT_PID > '" + (home / "agent.pid") + "' && ssh-add -q '" +
                           (home / ".ssh/id_ed25519") + "' 2> /dev/null")
                              .c_str()),
              0);
    fs::rename(home / ".ssh/id_ed25519", home / "kept_key");
    setenv("SSH_AUTH_SOCK", agent.c_str(), 1);
    logIn("");
    EXPECT_TRUE(session.panes().connected);
    session.disconnect();
    kill(std::stoi(ReadFile(home / "agent.pid")), SIGTERM);
    unsetenv("SSH_AUTH_SOCK");

    // known_hosts holds another key for the server: refused, whatever the user would answer.
    const std::string replaced = "# kept\n" + server.otherKeyLine() + "\n";
    WriteFile(home / ".ssh/known_hosts", replaced);
    prompts.answers = {MessageAnswer::Yes, MessageAnswer::Yes};
    logIn();
    EXPECT_FALSE(session.panes().connected);
    EXPECT_EQ(prompts.captions(), (std::vector<std::string>{"SFTP Security", "FTP Error:"}));
    EXPECT_NE(prompts.shown[0].text.find("HAS CHANGED"), std::string::npos);
    EXPECT_NE(prompts.shown[1].text.find("Code: -1002"), std::string::npos);
    EXPECT_EQ(knownHosts(), replaced);
}

TEST_F(SftpSessionTest, KnownHostsIsWrittenWhereLibssh2ReadsItAndAnotherKeyTypeIsAChange) {
    // A line libssh2 cannot read stops its reading: the accepted key goes above it, and every
    // line stays.
    const std::string before =
        "this line is no known_hosts line\nother.example.org ssh-ed25519 "
        "AAAAC3NzaC1lZDI1NTE5AAAAIE0000000000000000000000000000000000000000000\n";
    fs::create_directories(home / ".ssh");
    WriteFile(home / ".ssh/known_hosts", before);
    prompts.answers = {MessageAnswer::Yes};
    logIn();
    ASSERT_TRUE(session.panes().connected);
    EXPECT_EQ(knownHosts(), server.knownHostsLine() + "\n" + before);
    session.disconnect();
    prompts.shown.clear();
    logIn();
    EXPECT_TRUE(session.panes().connected);
    EXPECT_TRUE(prompts.shown.empty()) << prompts.shown[0].text;
    session.disconnect();

    // The host is known with a key of another type only: changed, not unknown.
    const std::string other = server.otherKeyLine("ecdsa") + "\n";
    WriteFile(home / ".ssh/known_hosts", other);
    prompts.answers = {MessageAnswer::Yes};
    logIn();
    EXPECT_FALSE(session.panes().connected);
    ASSERT_FALSE(prompts.shown.empty());
    EXPECT_NE(prompts.shown[0].text.find("HAS CHANGED"), std::string::npos)
        << prompts.shown[0].text;
    EXPECT_EQ(knownHosts(), other);
}

TEST_F(SftpSessionTest, AnOldFileLeftAsideByABrokenSwapIsPutBack) {
    fs::create_directories(home / ".ssh");
    WriteFile(home / ".ssh/known_hosts", server.knownHostsLine() + "\n");
    const std::string site = server.ownedFolder("swap");
    // A drop after the old page was moved aside, before the new one took its name; and one
    // after, before the old copy was removed.
    WriteFile(site + "/.index.html.quillora-old", "the old page");
    WriteFile(site + "/.about.html.quillora-old", "the older about page");
    WriteFile(site + "/about.html", "the new about page");
    logIn();
    ASSERT_TRUE(session.panes().connected);
    ASSERT_EQ(engineFolder(site), 0);
    EXPECT_EQ(ReadFile(site + "/index.html"), "the old page");
    EXPECT_EQ(ReadFile(site + "/about.html"), "the new about page");
    EXPECT_FALSE(fs::exists(site + "/.index.html.quillora-old"));
    EXPECT_FALSE(fs::exists(site + "/.about.html.quillora-old"));
    // A page sent over what is there never leaves the name empty for good: the swap ends with
    // the new page under it and nothing aside.
    WriteFile(local / "index.html", "the new page");
    session.fillLocalList();
    session.panes().localSelection = {row(session.panes().localEntries, "index.html")};
    session.uploadFiles();
    EXPECT_EQ(ReadFile(site + "/index.html"), "the new page");
    EXPECT_FALSE(fs::exists(site + "/.index.html.quillora-old"));
    EXPECT_FALSE(fs::exists(site + "/.index.html.part"));
}

TEST_F(SftpSessionTest, TheRememberedLoginKeepsItsProtocolAndOldRowsReadAsFtp) {
    {
        // A store of an earlier version: the login table has no protocol.
        SqliteDatabase db;
        db.open(working / "quilldata.db");
        db.runStatement(
            "UPDATE ftplogin SET SERVERNAME = 'old.example.org', USERNAME = 'me', PASSWORD = 'pw'");
    }
    session.panes().protocol = TransferProtocol::Sftp;
    session.loadLogin();
    EXPECT_EQ(session.panes().server, "old.example.org");
    EXPECT_EQ(session.panes().protocol, TransferProtocol::Ftp);

    for (const TransferProtocol protocol :
         {TransferProtocol::Sftp, TransferProtocol::FtpTlsRequired, TransferProtocol::Ftp}) {
        session.panes().protocol = protocol;
        session.panes().remember = true;
        session.close();
        FtpSession again(working.path(), local.path(), prompts);
        again.loadLogin();
        EXPECT_EQ(again.panes().protocol, protocol) << ProtocolName(protocol);
        EXPECT_EQ(again.panes().user, "me");
    }
    // The scheme typed in the server field chooses SFTP.
    session.panes() = FtpPanes{};
    session.panes().server = "sftp://" + server.address();
    session.panes().user = SshServer::kUser;
    session.panes().password = SshServer::kPassword;
    prompts.answers = {MessageAnswer::Yes};
    session.connect();
    EXPECT_TRUE(session.panes().connected);
    EXPECT_EQ(session.panes().protocol, TransferProtocol::Sftp);
}

// A changed key the user trusts takes the place of the old one, however the host was named (a
// hashed name, one of several): no line keeps the old key trusted beside it. Other hosts and
// other key types of the host stay.
TEST(KnownHosts, TrustingAChangedKeyReplacesItsLine) {
    TempFolder folder;
    const std::string path = folder / "known_hosts";
    WriteFile(path,
              "[127.0.0.1]:2222 ssh-ed25519 OLD\nother.example.org ssh-ed25519 X\n"
              "|1|MDEyMzQ1Njc4OWFiY2RlZmdoaWo=|kjl9J932vxVxCmU2IfKMefPFSKM= ssh-ed25519 HASHED\n"
              "alias.example.org,[127.0.0.1]:2222 ssh-ed25519 SHARED\n"
              "[127.0.0.1]:2222 ssh-rsa R\n");
    ASSERT_TRUE(AddKnownHost(path, "[127.0.0.1]:2222 ssh-ed25519 NEW"));
    EXPECT_EQ(ReadFile(path),
              "[127.0.0.1]:2222 ssh-ed25519 NEW\nother.example.org ssh-ed25519 X\n"
              "alias.example.org ssh-ed25519 SHARED\n"
              "[127.0.0.1]:2222 ssh-rsa R\n");
}
