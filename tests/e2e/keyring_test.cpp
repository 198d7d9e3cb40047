// Remembered passwords live in the desktop's keyring when one answers. The test runs twice:
// once with gnome-keyring in a private D-Bus session (tests/support/with_keyring.sh), once with
// no bus at all, when they stay in the page store, readable only by the user.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "hosting/http_client.h"
#include "publish/batch_publish.h"
#include "real_widgets.h"
#include "shell/qt_ports.h"
#include "store/db/sqlite_database.h"
#include "store/hosting_folder_store.h"
#include "support/plain_ftp.h"
#include "support/server_process.h"
#include "transfer/cftpdialog.h"
#include "ui/keychain_vault.h"
#include "ui/picture_button.h"
#include "window_fixture.h"

namespace {

class KeyringTest : public WindowFixture {};

}  // namespace

TEST_F(KeyringTest, RememberedPasswordsGoWhereTheWindowSaysAndServeTheCommandLine) {
    // Without the test keyring, the tests' main lets no bus answer.
    const bool keyring = std::getenv("QUILLORA_TEST_KEYRING") != nullptr;
    TempFolder serverHome;
    std::filesystem::create_directories(serverHome / "site");
    ServerProcess server(QUILLORA_TEST_DATA "/transfer/ftpserver.py",
                         {"--home", serverHome.path()});
    const std::string address = "127.0.0.1:" + std::to_string(server.port());
    AcceptPlainFtp(working, server.port());
    {
        // The login an earlier version remembered, password and all, in the store.
        SqliteDatabase db;
        db.open(path("quilldata.db"));
        db.runStatement("UPDATE ftplogin SET SERVERNAME = '" + address +
                        "', USERNAME = 'quill', PASSWORD = 'old-secret'");
    }
    KeychainVault vault;
    QtPrompts dialogs;
    {
        cftpdialog uploader(working, path("webpages"), dialogs, nullptr);
        EXPECT_EQ(uploader.findChild<QLineEdit*>("password")->text(), "old-secret");
        const QString place = uploader.findChild<QLabel*>("passwordPlace")->text();
        EXPECT_TRUE(place.contains(keyring ? "desktop's keyring" : "readable only by you"))
            << place.toStdString();
        // On first use the old password moves to the keyring.
        EXPECT_EQ(stored("select PASSWORD from ftplogin"), keyring ? "" : "old-secret");
        EXPECT_EQ(vault.read("ftp login quill@" + address).value_or("none"),
                  keyring ? "old-secret" : "none");
        Type(uploader.findChild<QLineEdit*>("password"), "secret");
        uploader.findChild<PictureButton*>("ftpexit")->click();
    }
    EXPECT_EQ(stored("select PASSWORD from ftplogin"), keyring ? "" : "secret");
    if (!keyring) {
        EXPECT_EQ(std::filesystem::status(path("quilldata.db")).permissions() &
                      std::filesystem::perms::all,
                  std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    }
    {
        cftpdialog again(working, path("webpages"), dialogs, nullptr);
        EXPECT_EQ(again.findChild<QLineEdit*>("password")->text(), "secret");
    }

    // The command line finds the remembered password where the window put it.
    store(sitePage("site.html", "Kept"), true);
    std::ostringstream out;
    std::ostringstream err;
    unsetenv("QUILLORA_FTP_PASSWORD");
    EXPECT_EQ(RunBatchPublish({"--workdir", working, "--upload", "ftp://quill@" + address + "/site",
                               path("webpages")},
                              working, out, err, &vault),
              0)
        << err.str();
    EXPECT_TRUE(std::filesystem::exists(serverHome / "site/site.html"));

    // Forgotten: out of the keyring as well.
    {
        cftpdialog forgetting(working, path("webpages"), dialogs, nullptr);
        QTest::mouseClick(forgetting.findChild<QCheckBox*>("remember"), Qt::LeftButton);
        forgetting.findChild<PictureButton*>("ftpexit")->click();
    }
    EXPECT_EQ(stored("select SERVERNAME from ftplogin"), "NOSERVER");
    EXPECT_FALSE(vault.read("ftp login quill@" + address).has_value());
}

TEST_F(KeyringTest, TheHostingFolderPasswordMovesToTheKeyringAndStillSendsTheSite) {
    const bool keyring = std::getenv("QUILLORA_TEST_KEYRING") != nullptr;
    ServerProcess standIn(QUILLORA_TEST_DATA "/hosting/standin.py", {});
    const std::string base = "http://127.0.0.1:" + std::to_string(standIn.port()) + "/";
    const std::string password = "123456789012";
    ASSERT_EQ(HttpGet(base + "quillservlet?REGISTERFOLDER|Kept|" + password).substr(0, 5), "1000|");
    {
        // As an earlier version stored it: the password in the row.
        SqliteDatabase db;
        db.open(path("quilldata.db"));
        HostingFolder folder;
        folder.folderName = "Kept";
        folder.folderId = "1000";
        folder.password = password;
        folder.scriptAddress = base + "scripts/";
        SaveNewHostingFolder(db, folder);
    }
    store(sitePage("site.html", "Kept"), true);
    KeychainVault vault;
    std::ostringstream out;
    std::ostringstream err;
    // The command line first: its store is open for reading only, the password still serves.
    EXPECT_EQ(RunBatchPublish({"--upload", "hosting", "--hosting-base", base, path("webpages")},
                              working, out, err, &vault),
              0)
        << err.str();
    startWindow();
    EXPECT_EQ(window->session().workspace().hosting.password, password);
    EXPECT_EQ(stored("select LASTFILE from lastsession"),
              (keyring ? "KEYRING" : password) + "|" + base + "scripts/");
    window->close();
    window.reset();

    // The command line takes it from there and sends the site.
    EXPECT_EQ(RunBatchPublish({"--upload", "hosting", "--hosting-base", base, path("webpages")},
                              working, out, err, &vault),
              0)
        << err.str();
    EXPECT_EQ(HttpGet(base + "Kept/site.html").find("not found"), std::string::npos);
}
