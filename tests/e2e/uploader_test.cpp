// The FTP uploader window: its keyboard and local pane rules, and the main window's button
// that opens it without disturbing the page store.
#include <unistd.h>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <chrono>
#include <deque>
#include <filesystem>

#include "real_widgets.h"
#include "shell/qt_ports.h"
#include "support/loopback_listener.h"
#include "support/server_process.h"
#include "support/ssh_server.h"
#include "support/temp_folder.h"
#include "transfer/cftpdialog.h"
#include "ui/picture_button.h"
#include "window_fixture.h"

namespace {

class UploaderTest : public WindowFixture {};

}  // namespace

TEST_F(UploaderTest, EnterMovesOnAndTheLocalPaneOpensOnlyFolders) {
    std::filesystem::create_directories(path("webpages/sub"));
    cftpdialog uploader(working, path("webpages"), prompts, nullptr);
    uploader.show();
    EXPECT_EQ(uploader.windowTitle(), "Quillora Uploader");
    // Where a remembered password goes is readable: wholly shown, behind no button.
    QApplication::processEvents();
    auto* place = uploader.findChild<QLabel*>("passwordPlace");
    ASSERT_FALSE(place->text().isEmpty());
    const QRect placed(place->mapTo(&uploader, QPoint()), place->size());
    for (PictureButton* button : uploader.findChildren<PictureButton*>()) {
        EXPECT_FALSE(placed.intersects(QRect(button->mapTo(&uploader, QPoint()), button->size())))
            << button->objectName().toStdString();
    }
    EXPECT_GE(place->height(), place->heightForWidth(place->width()));
    auto* password = uploader.findChild<QLineEdit*>("password");
    password->setFocus();
    QTest::keyClick(password, Qt::Key_Return);
    EXPECT_NE(uploader.focusWidget(), password);
    EXPECT_TRUE(uploader.isVisible());
    EXPECT_TRUE(prompts.shown.empty());

    auto* local = uploader.findChild<QListWidget*>("localList");
    const auto rowOf = [local](const char* text) {
        return local->row(local->findItems(text, Qt::MatchExactly).value(0));
    };
    local->setCurrentRow(rowOf("quickstart.html"));
    emit local->itemDoubleClicked(local->currentItem());
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text, "Selected file is not a folder.");
    EXPECT_TRUE(local->selectedItems().isEmpty());
    local->setCurrentRow(rowOf("sub  [FOLDER]"));
    emit local->itemDoubleClicked(local->currentItem());
    EXPECT_EQ(uploader.findChild<QLineEdit*>("localFolder")->text().toStdString(),
              path("webpages/sub"));
    uploader.findChild<PictureButton*>("localBack")->click();
    EXPECT_EQ(uploader.findChild<QLineEdit*>("localFolder")->text().toStdString(),
              path("webpages"));
}

TEST_F(UploaderTest, TheMainWindowLendsItsStoreToTheUploaderAndTakesItBack) {
    startWindow();
    ASSERT_TRUE(resume());
    const QString folder = window->findChild<QComboBox*>("folders")->currentText();
    const QString page = window->findChild<QComboBox*>("pages")->currentText();
    bool shown = false;
    QTimer::singleShot(200, [&] {
        auto* uploader = qobject_cast<cftpdialog*>(QApplication::activeModalWidget());
        shown = uploader != nullptr;
        if (uploader) {
            uploader->findChild<PictureButton*>("ftpexit")->click();
        }
    });
    window->findChild<PictureButton*>("ftplaunch")->click();
    EXPECT_TRUE(shown);
    EXPECT_EQ(window->findChild<QComboBox*>("folders")->currentText(), folder);
    EXPECT_EQ(window->findChild<QComboBox*>("pages")->currentText(), page);
    // The store works again: the login row the uploader wrote is there, a page can be stored.
    EXPECT_EQ(stored("select SERVERNAME from ftplogin"), "NOSERVER");
    EXPECT_TRUE(window->session().store().savePage(window->session().workspace().page));
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(UploaderTest, AnSftpSiteIsReachedWithThePasswordThenTheKey) {
    SshServer server;
    ASSERT_NE(server.port(), 0);
    const std::string site = server.ownedFolder("site");
    std::filesystem::create_directories(path("webpages"));
    WriteFile(path("webpages/index.html"), "<html>sent over SSH</html>");
    QtPrompts dialogs;
    auto uploader = std::make_unique<cftpdialog>(working, path("webpages"), dialogs, nullptr);
    dialogs.setOwner(uploader.get());
    uploader->show();
    const auto button = [&](const char* name) { return uploader->findChild<PictureButton*>(name); };
    const auto field = [&](const char* name) { return uploader->findChild<QLineEdit*>(name); };
    auto* protocol = uploader->findChild<QComboBox*>("protocol");
    protocol->setFocus();
    QTest::keyClicks(protocol, "S");
    EXPECT_EQ(protocol->currentText(), "SFTP");
    Type(field("server"), QString::fromStdString(server.address()));
    Type(field("user"), SshServer::kUser);
    Type(field("password"), SshServer::kPassword);

    // The unknown host's fingerprint is shown; No leaves it unknown, Yes connects.
    for (const QMessageBox::StandardButton answer : {QMessageBox::No, QMessageBox::Yes}) {
        QString asked;
        AnswerNextBox([&](QMessageBox& box) {
            asked = box.text();
            box.button(answer)->click();
        });
        button("connect")->click();
        EXPECT_TRUE(asked.contains("key fingerprint is SHA256:")) << asked.toStdString();
        EXPECT_EQ(button("connect")->isChecked(), answer == QMessageBox::Yes);
        EXPECT_EQ(std::filesystem::exists(home / ".ssh/known_hosts"), answer == QMessageBox::Yes);
    }
    auto* folder = uploader->findChild<QLabel*>("serverFolder");
    EXPECT_EQ(folder->text(), "/home/" + QString(SshServer::kUser));

    // Up to the root with BACK, then down to the site folder with double clicks.
    while (folder->text() != "/") {
        const QString before = folder->text();
        button("serverBack")->click();
        ASSERT_NE(folder->text(), before);
    }
    auto* serverList = uploader->findChild<QListWidget*>("serverList");
    for (const std::filesystem::path& part : std::filesystem::path(site).relative_path()) {
        QListWidgetItem* item =
            serverList
                ->findItems(QString::fromStdString(part.string() + "  [FOLDER]"), Qt::MatchExactly)
                .value(0);
        ASSERT_NE(item, nullptr) << part;
        const QPoint centre = serverList->visualItemRect(item).center();
        QTest::mouseClick(serverList->viewport(), Qt::LeftButton, {}, centre);
        QTest::mouseDClick(serverList->viewport(), Qt::LeftButton, {}, centre);
    }
    ASSERT_EQ(folder->text().toStdString(), site);

    auto* localList = uploader->findChild<QListWidget*>("localList");
    QListWidgetItem* page = localList->findItems("index.html", Qt::MatchExactly).value(0);
    ASSERT_NE(page, nullptr);
    QTest::mouseClick(localList->viewport(), Qt::LeftButton, {},
                      localList->visualItemRect(page).center());
    button("upload")->click();
    EXPECT_EQ(ReadFile(site + "/index.html"), "<html>sent over SSH</html>");
    EXPECT_EQ(serverList->item(0)->text(), "index.html");

    // A new session with the user's key and no password: no question, straight in.
    server.authorize(SshServer::MakeUserKey(home.path()));
    button("newsession")->click();
    EXPECT_FALSE(button("connect")->isChecked());
    Type(field("server"), QString::fromStdString("sftp://" + server.address()));
    Type(field("user"), SshServer::kUser);
    QTest::mouseClick(uploader->findChild<QCheckBox*>("remember"), Qt::LeftButton);
    button("connect")->click();
    EXPECT_TRUE(button("connect")->isChecked());
    EXPECT_EQ(protocol->currentText(), "SFTP");
    button("ftpexit")->click();
    EXPECT_EQ(stored("select PROTOCOL from ftplogin"), "sftp");

    // The remembered login comes back with its protocol.
    cftpdialog again(working, path("webpages"), dialogs, nullptr);
    EXPECT_EQ(again.findChild<QComboBox*>("protocol")->currentText(), "SFTP");
    EXPECT_EQ(again.findChild<QLineEdit*>("server")->text().toStdString(),
              "sftp://" + server.address());
}

namespace {

// Answers every message box that comes, in order, through its buttons (NoButton: Enter on what
// has the focus); the texts are kept.
class BoxAnswers {
  public:
    explicit BoxAnswers(std::deque<QMessageBox::StandardButton> answers)
        : answers_(std::move(answers)) {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            QMessageBox* box = MessageBoxShown();
            if (box == nullptr) {
                return;
            }
            texts.push_back(box->text().toStdString());
            const QMessageBox::StandardButton answer =
                answers_.empty() ? QMessageBox::Ok : answers_.front();
            if (!answers_.empty()) {
                answers_.pop_front();
            }
            if (answer == QMessageBox::NoButton) {
                QWidget* focus = QApplication::focusWidget();
                QTest::keyClick(focus != nullptr ? focus : box, Qt::Key_Return);
                return;
            }
            QAbstractButton* button = box->button(answer);
            button != nullptr ? button->click() : box->accept();
        });
        timer_.start(30);
    }
    std::vector<std::string> texts;

  private:
    std::deque<QMessageBox::StandardButton> answers_;
    QTimer timer_;
};

constexpr const char* kFtpServer = QUILLORA_TEST_DATA "/transfer/ftpserver.py";

}  // namespace

TEST_F(UploaderTest, UntrustedUnencryptedAndHostileServersAreMetThroughTheWindow) {
    std::filesystem::create_directories(path("webpages"));
    // Larger than what the sockets hold, so that the upload still runs when Cancel comes.
    WriteFile(path("webpages/big.html"), std::string(24 * 1024 * 1024, 'b'));
    TempFolder tlsHome;
    TempFolder slowHome;
    TempFolder hostileHome;
    TempFolder certificates;
    TempFolder logs;
    std::filesystem::create_directories(slowHome / "sub");
    WriteFile(slowHome / "sub/big.html", "the live page");
    QtPrompts dialogs;
    auto uploader = std::make_unique<cftpdialog>(working, path("webpages"), dialogs, nullptr);
    dialogs.setOwner(uploader.get());
    uploader->show();
    const auto button = [&](const char* name) { return uploader->findChild<PictureButton*>(name); };
    auto* serverList = uploader->findChild<QListWidget*>("serverList");
    const auto logIn = [&](const ServerProcess& server) {
        button("newsession")->click();
        Type(uploader->findChild<QLineEdit*>("server"),
             QString::fromStdString("127.0.0.1:" + std::to_string(server.port())));
        Type(uploader->findChild<QLineEdit*>("user"), "quill");
        Type(uploader->findChild<QLineEdit*>("password"), "secret");
        button("connect")->click();
    };
    const auto clickRow = [](QListWidget* list, const char* text, bool twice) {
        QListWidgetItem* item = list->findItems(text, Qt::MatchExactly).value(0);
        ASSERT_NE(item, nullptr) << text;
        const QPoint centre = list->visualItemRect(item).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, centre);
        if (twice) {
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, centre);
        }
    };

    {
        // An unverifiable certificate: Enter answers No, and the server saw no login at all;
        // then Yes.
        ServerProcess server(kFtpServer, {"--home", tlsHome.path(), "--tls", certificates.path(),
                                          "--log", logs / "tls.log"});
        BoxAnswers answers({QMessageBox::NoButton, QMessageBox::Ok, QMessageBox::Yes});
        logIn(server);
        EXPECT_FALSE(button("connect")->isChecked());
        ASSERT_GE(answers.texts.size(), 1u);
        EXPECT_NE(answers.texts[0].find("Its key: SHA256:"), std::string::npos);
        EXPECT_EQ(ReadFile(logs / "tls.log").find("USER"), std::string::npos);
        EXPECT_EQ(ReadFile(logs / "tls.log").find("PASS"), std::string::npos);
        button("connect")->click();
        EXPECT_TRUE(button("connect")->isChecked()) << answers.texts.back();
    }
    {
        // No TLS: the user is told before the password goes. Then an upload into a subfolder
        // is cancelled from the notice, and nothing of it stays there.
        ServerProcess server(kFtpServer, {"--home", slowHome.path(), "--mode", "slow"});
        BoxAnswers answers({QMessageBox::Yes, QMessageBox::NoButton});
        logIn(server);
        ASSERT_TRUE(button("connect")->isChecked());
        ASSERT_FALSE(answers.texts.empty());
        EXPECT_NE(answers.texts[0].find("would travel unencrypted"), std::string::npos);
        clickRow(serverList, "sub  [FOLDER]", true);
        EXPECT_EQ(uploader->findChild<QLabel*>("serverFolder")->text(), "/sub");
        clickRow(uploader->findChild<QListWidget*>("localList"), "big.html", false);
        QTimer cancel;
        QObject::connect(&cancel, &QTimer::timeout, [&] {
            auto* progress = uploader->findChild<QProgressBar*>("progress");
            if (progress != nullptr && progress->isVisible() && progress->value() > 0) {
                uploader->findChild<QPushButton*>("cancel")->click();
            }
        });
        cancel.start(50);
        button("upload")->click();
        EXPECT_EQ(ReadFile(slowHome / "sub/big.html"), "the live page");
        EXPECT_FALSE(std::filesystem::exists(slowHome / "sub/.big.html.part"));
        EXPECT_FALSE(std::filesystem::exists(slowHome / ".big.html.part"));
        // Enter on the question before deleting keeps the file.
        clickRow(serverList, "big.html", false);
        button("delete")->click();
        EXPECT_NE(answers.texts.back().find("Delete big.html"), std::string::npos)
            << answers.texts.back();
        EXPECT_EQ(ReadFile(slowHome / "sub/big.html"), "the live page");
    }
    {
        // Names that climb out of the folder are not listed; what is listed lands inside it.
        ServerProcess server(kFtpServer, {"--home", hostileHome.path(), "--mode", "hostile"});
        BoxAnswers answers({QMessageBox::Yes});
        logIn(server);
        ASSERT_TRUE(button("connect")->isChecked());
        ASSERT_EQ(serverList->count(), 1);
        EXPECT_EQ(serverList->item(0)->text(), "ok.txt");
        clickRow(serverList, "ok.txt", false);
        button("download")->click();
        EXPECT_EQ(ReadFile(path("webpages/ok.txt")), "owned");
        EXPECT_FALSE(std::filesystem::exists(path("pwned_home.txt")));
        EXPECT_FALSE(std::filesystem::exists(home / "pwned_home.txt"));
        EXPECT_FALSE(std::filesystem::exists(path("up.txt")));
    }
}

// A server that takes the connection and never says a word: the window keeps answering while
// the login waits, and Cancel on the notice ends the attempt with no error to click away.
TEST_F(UploaderTest, ASilentServerLeavesTheWindowAnsweringAndCancelEndsTheWait) {
    int port = 0;
    const int silent = ListenOnLoopback(4, port);
    std::filesystem::create_directories(path("webpages"));
    QtPrompts dialogs;
    auto uploader = std::make_unique<cftpdialog>(working, path("webpages"), dialogs, nullptr);
    dialogs.setOwner(uploader.get());
    uploader->show();
    Type(uploader->findChild<QLineEdit*>("server"),
         QString::fromStdString("127.0.0.1:" + std::to_string(port)));
    Type(uploader->findChild<QLineEdit*>("user"), "quill");
    Type(uploader->findChild<QLineEdit*>("password"), "secret");
    BoxAnswers answers({});
    int ticks = 0;
    QString shown;
    QTimer ticking;
    QObject::connect(&ticking, &QTimer::timeout, [&] {
        ++ticks;
        auto* notice = uploader->findChild<QLabel*>("uploadNotice");
        if (notice != nullptr && notice->isVisible() && ticks >= 10) {
            shown = notice->text();
            uploader->findChild<QPushButton*>("cancel")->click();
        }
    });
    ticking.start(20);
    const auto start = std::chrono::steady_clock::now();
    uploader->findChild<PictureButton*>("connect")->click();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
    EXPECT_GE(ticks, 10);
    EXPECT_TRUE(shown.startsWith("Connecting to 127.0.0.1:")) << shown.toStdString();
    EXPECT_FALSE(uploader->findChild<PictureButton*>("connect")->isChecked());
    EXPECT_TRUE(answers.texts.empty()) << answers.texts.front();
    EXPECT_FALSE(uploader->findChild<QLabel*>("uploadNotice")->isVisible());
    close(silent);
}
