// Remembered passwords live in the desktop's keyring when one answers. The test runs twice:
// once with gnome-keyring in a private D-Bus session (tests/support/with_keyring.sh), once with
// no bus at all, when they stay in the page store, readable only by the user.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "publish/batch_publish.h"
#include "real_widgets.h"
#include "shell/qt_ports.h"
#include "store/db/sqlite_database.h"
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
    const bool keyring = std::getenv("QUILLORA_TEST_KEYRING") != nullptr;
    if (!keyring) {
        // No keyring may answer, whatever the machine runs.
        setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/quillora-test-bus", 1);
    }
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
    unsetenv("DBUS_SESSION_BUS_ADDRESS");
}
