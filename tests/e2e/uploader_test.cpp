// The FTP uploader window: its keyboard and local pane rules, and the main window's button
// that opens it without disturbing the page store.
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QTimer>
#include <filesystem>

#include "ftp/cftpdialog.h"
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
