#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include "files/picture_size.h"
#include "hosting/upload_notice.h"
#include "items/clickoptions.h"
#include "items/imageedit.h"
#include "items/linkselector.h"
#include "items/newpage.h"
#include "items/pagelength.h"
#include "items/pageoptions.h"
#include "items/pagetitle.h"
#include "items/sitecheck.h"
#include "items/sitemenu.h"
#include "items/siteoptions.h"
#include "page/site_menu.h"
#include "real_widgets.h"
#include "shell/qt_ports.h"
#include "support/fake_ports.h"
#include "support/temp_folder.h"
#include "ui/picture_button.h"

namespace {

void Click(QWidget& dialog, const char* caption) {
    dialog.findChild<PictureButton*>(caption)->click();
}

void Accept(QWidget& dialog) {
    for (QAbstractButton* button : dialog.findChild<QDialogButtonBox*>()->buttons()) {
        if (dialog.findChild<QDialogButtonBox*>()->buttonRole(button) ==
            QDialogButtonBox::AcceptRole) {
            button->click();
            return;
        }
    }
}

}  // namespace

TEST(Dialogs, ThePageNameDialogStartsEmptyAndHandsBackTheText) {
    newpage dialog(nullptr);
    EXPECT_EQ(dialog.windowTitle(), "Change file name:");
    auto* edit = dialog.findChild<QLineEdit*>("fileName");
    EXPECT_TRUE(edit->text().isEmpty());
    edit->setText("about");
    Click(dialog, "dialog_ok");
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.fileName(), "about");
}

TEST(Dialogs, ThePageTitleDialogShowsTheCurrentTitle) {
    pagetitle dialog("My page", nullptr);
    EXPECT_EQ(dialog.windowTitle(), "Page Title");
    EXPECT_EQ(dialog.title(), "My page");
    dialog.findChild<QLineEdit*>("title")->setText("Changed");
    Click(dialog, "dialog_cancel");
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

TEST(Dialogs, EditOptionsAnswerWithTheChosenButtonOrNone) {
    for (const auto& [caption, choice] :
         std::vector<std::pair<const char*, const char*>>{{"dialog_center", "CENTER"},
                                                          {"dialog_edit", "EDIT"},
                                                          {"dialog_delete", "DELETE"},
                                                          {"dialog_ok", "NONE"}}) {
        clickoptions dialog(nullptr);
        EXPECT_EQ(dialog.windowTitle(), "Edit Options");
        Click(dialog, caption);
        EXPECT_EQ(dialog.result(), QDialog::Accepted) << caption;
        EXPECT_EQ(dialog.choice(), choice) << caption;
    }
    clickoptions cancelled(nullptr);
    Click(cancelled, "dialog_cancel");
    EXPECT_EQ(cancelled.result(), QDialog::Rejected);
    // The selection's alignments answer with their own words.
    for (const char* choice : {"ALIGNLEFT", "ALIGNMIDDLE", "DISTRIBUTEV"}) {
        clickoptions dialog(nullptr);
        dialog.findChild<QAbstractButton*>(QString::fromLatin1(choice))->click();
        EXPECT_EQ(dialog.result(), QDialog::Accepted) << choice;
        EXPECT_EQ(dialog.choice(), choice);
    }
}

TEST(Dialogs, PictureButtonsCarryAllFourPictures) {
    for (const char* caption : {"newpage",      "rename",          "pagetitle",     "ftplaunch",
                                "help",         "dialog_ok",       "dialog_cancel", "dialog_center",
                                "dialog_edit",  "dialog_delete",   "replace",       "boldbutton",
                                "italicbutton", "underlinebutton", "colorbutton",   "cutbutton",
                                "copybutton",   "pastebutton",     "link",          "spell",
                                "pallette",     "browse",          "done",          "update",
                                "ignore",       "dictionary",      "accept",        "decline",
                                "connect",      "newsession",      "download",      "back",
                                "delete",       "openfolder",      "newfolder",     "upload",
                                "ftpexit"}) {
        for (const char state : {'U', 'D', 'F', 'X'}) {
            const QString name = QStringLiteral(":/resources/pictures/") +
                                 QString::fromLatin1(caption).toUpper() + QLatin1Char(state) +
                                 QStringLiteral(".png");
            EXPECT_FALSE(QPixmap(name).isNull()) << name.toStdString();
        }
    }
}

TEST(Dialogs, ThePageLengthTakesDecimalNumbersOnly) {
    pagelength dialog("1000", nullptr);
    EXPECT_EQ(dialog.windowTitle(), "Page length selector");
    EXPECT_EQ(dialog.pageLength(), "1000");
    auto* edit = dialog.findChild<QLineEdit*>("pageLength");
    edit->clear();
    QTest::keyClicks(edit, "15a0x0.5b");
    EXPECT_EQ(dialog.pageLength(), "1500.5");
    edit->clear();
    QTest::keyClicks(edit, "1234567890");
    EXPECT_EQ(dialog.pageLength(), "123456789");
    Click(dialog, "dialog_ok");
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST(Dialogs, TheLinkTargetMayBeLeftEmpty) {
    linkselector dialog(nullptr);
    EXPECT_EQ(dialog.windowTitle(), "Add a link target");
    EXPECT_TRUE(dialog.findChild<QLabel*>()->text().startsWith(
        "Type the filename or internet address to use as the link target (eg. \"mysong.mp3\""));
    Click(dialog, "dialog_ok");
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.target(), "");
}

TEST(Dialogs, ImagePropertiesReplaceTheSourceThroughTheFileDialog) {
    FakePrompts prompts;
    prompts.openFileNames = {std::nullopt, std::string("/pictures/new.gif")};
    imageedit dialog("/pictures/old.gif", "a.mp3", std::nullopt, prompts, nullptr);
    EXPECT_EQ(dialog.windowTitle(), "Image Properties");
    Click(dialog, "replace");
    EXPECT_EQ(dialog.sourceFile(), "/pictures/old.gif");
    Click(dialog, "replace");
    EXPECT_EQ(dialog.sourceFile(), "/pictures/new.gif");
    EXPECT_EQ(prompts.openRequests[0].filter,
              "Image files (*.jpg;*.gif;*.bmp;*.png)|*.jpg;*.gif;*.bmp;*.png||");
    EXPECT_EQ(dialog.linkTarget(), "a.mp3");
    // No description typed: none; typed: it; marked as decoration: the empty one.
    auto* description = dialog.findChild<QLineEdit*>("description");
    auto* decorative = dialog.findChild<QCheckBox*>("decorative");
    EXPECT_EQ(dialog.description(), std::nullopt);
    Type(description, QStringLiteral("  A red kite over the hill "));
    EXPECT_EQ(dialog.description(), std::optional<std::string>("A red kite over the hill"));
    QTest::mouseClick(decorative, Qt::LeftButton, {}, QPoint(5, decorative->height() / 2));
    EXPECT_FALSE(description->isEnabled());
    EXPECT_EQ(dialog.description(), std::optional<std::string>(""));
    Click(dialog, "dialog_cancel");
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    imageedit decoration("/p.gif", "", std::string(), prompts, nullptr);
    EXPECT_TRUE(decoration.findChild<QCheckBox*>("decorative")->isChecked());
}

// Qt's image readers give the natural size of the picture types the dialogs offer.
TEST(PictureDecoding, GifAndPngGiveTheirSizeInPixels) {
    TempFolder folder;
    // Screen and image of 200 by 100, two colours, and an empty picture: clear and end codes.
    std::string gif = "GIF89a";
    const auto le = [&gif](int value) {
        gif += static_cast<char>(value & 0xFF);
        gif += static_cast<char>(value >> 8);
    };
    le(200);
    le(100);
    gif += std::string("\x80\0\0\0\0\0\xFF\xFF\xFF,", 10);
    le(0);
    le(0);
    le(200);
    le(100);
    gif += std::string("\0\x02\x01\x2C\0;", 6);
    WriteFile(folder / "wide.gif", gif);
    ASSERT_TRUE(
        QImage(200, 100, QImage::Format_RGB32).save(QString::fromStdString(folder / "wide.png")));

    // A photo taken with the camera on its side is as tall as it stands.
    ASSERT_TRUE(
        QImage(200, 100, QImage::Format_RGB32).save(QString::fromStdString(folder / "side.jpg")));
    ASSERT_EQ(std::system(("exiftool -q -overwrite_original -n -Orientation=6 '" +
                           folder / "side.jpg" + "'")
                              .c_str()),
              0);

    QtPictureDecoder decoder;
    const std::optional<PictureSize> upright = decoder.decode(ReadFile(folder / "side.jpg"));
    ASSERT_TRUE(upright);
    EXPECT_EQ(upright->width, 100);
    EXPECT_EQ(upright->height, 200);
    for (const char* file : {"wide.gif", "wide.png"}) {
        FakePrompts prompts;
        const std::optional<PictureSize> size = LoadPictureSize(folder / file, decoder, prompts);
        ASSERT_TRUE(size) << file;
        EXPECT_EQ(size->width, 200) << file;
        EXPECT_EQ(size->height, 100) << file;
    }
    FakePrompts prompts;
    WriteFile(folder / "text.gif", "not a picture");
    EXPECT_FALSE(LoadPictureSize(folder / "text.gif", decoder, prompts));
    EXPECT_EQ(prompts.shown.at(0).text.rfind("Could not load image: text.gif is a text file", 0),
              0u);
}

TEST(Dialogs, TheProgramsPromptsAreAnsweredThroughTheirOwnWidgets) {
    TempFolder folder;
    QtPrompts prompts;

    AnswerNextBox([](QMessageBox& box) {
        EXPECT_EQ(box.windowTitle(), "FTP Security");
        box.button(QMessageBox::Yes)->click();
    });
    EXPECT_EQ(prompts.messageBox("Connect anyway?", "FTP Security", MessageButtons::YesNo,
                                 MessageIcon::Warning),
              MessageAnswer::Yes);

    AnswerNext([](QWidget& dialog) {
        for (QLineEdit* edit : dialog.findChildren<QLineEdit*>()) {
            if (edit->text().startsWith(QLatin1Char('#'))) {
                Type(edit, QStringLiteral("#336699"));
            }
        }
        Accept(dialog);
    });
    const std::optional<Rgb> colour = prompts.colour();
    ASSERT_TRUE(colour);
    EXPECT_EQ(std::vector<int>({colour->red, colour->green, colour->blue}),
              std::vector<int>({0x33, 0x66, 0x99}));

    AnswerNext([](QWidget& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "New server folder");
        Type(dialog.findChild<QLineEdit*>(QStringLiteral("name")), QStringLiteral("images"));
        Click(dialog, "dialog_ok");
    });
    EXPECT_EQ(prompts.newFolderName(), std::optional<std::string>("images"));

    std::filesystem::create_directories(folder / "site/pages");
    AnswerNext([&folder](QWidget& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Upload folder selection:");
        Type(dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit")),
             QString::fromStdString(folder / "site/pages"));
        Accept(dialog);
    });
    EXPECT_EQ(prompts.chooseFolder("Upload folder selection:", folder / "site"),
              std::optional<std::string>(folder / "site/pages"));
}

TEST(Dialogs, PageAndSiteOptionsHandBackWhatWasTypedAndTicked) {
    // No language yet: the user's own is offered; an emptied field gives none.
    pageoptions fresh(PageOptions(), QStringLiteral("en-GB"), nullptr);
    auto* language = fresh.findChild<QLineEdit*>("language");
    EXPECT_EQ(language->text(), "en-GB");
    EXPECT_EQ(fresh.description(), std::nullopt);
    // Only what a language tag holds can be typed.
    Type(language, QStringLiteral("de-CH'>"));
    EXPECT_EQ(fresh.language(), std::optional<std::string>("de-CH"));
    Type(fresh.findChild<QLineEdit*>("description"), QStringLiteral(" Unsere Seite "));
    EXPECT_EQ(fresh.description(), std::optional<std::string>("Unsere Seite"));
    language->clear();
    EXPECT_EQ(fresh.language(), std::nullopt);
    Click(fresh, "dialog_ok");
    EXPECT_EQ(fresh.result(), QDialog::Accepted);
    pageoptions set(PageOptions{std::string("fr"), std::string("Une page"), true},
                    QStringLiteral("en"), nullptr);
    EXPECT_TRUE(set.noSiteItems());
    EXPECT_EQ(set.findChild<QLineEdit*>("language")->text(), "fr");

    siteoptions site(QStringLiteral("/home/me/site"), SiteOptions(), nullptr);
    EXPECT_EQ(site.windowTitle(), "Site Options");
    auto* phone = site.findChild<QCheckBox*>("phoneFriendly");
    QTest::mouseClick(phone, Qt::LeftButton, {}, QPoint(5, phone->height() / 2));
    EXPECT_TRUE(site.options().phoneFriendly);
    for (const char* name : {"webPictures", "siteFonts"}) {
        auto* box = site.findChild<QCheckBox*>(name);
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(5, box->height() / 2));
    }
    EXPECT_TRUE(site.options().webPictures);
    EXPECT_TRUE(site.options().siteFonts);
    // An address without its scheme keeps the dialog open and says why.
    auto* address = site.findChild<QLineEdit*>("siteAddress");
    Type(address, QStringLiteral("example.org"));
    QTest::keyClick(address, Qt::Key_Return);
    EXPECT_NE(site.result(), QDialog::Accepted);
    EXPECT_FALSE(site.findChild<QLabel*>("addressProblem")->isHidden());
    Type(address, QStringLiteral(" https://example.org"));
    QTest::keyClick(address, Qt::Key_Return);
    EXPECT_EQ(site.result(), QDialog::Accepted);
    EXPECT_EQ(site.options().siteAddress, "https://example.org/");
}

TEST(Dialogs, TheSiteCheckOpensTheLineChosenOrNothing) {
    sitecheck nothing(QStringLiteral("/home/me/site"), {}, nullptr);
    EXPECT_EQ(nothing.windowTitle(), "Check Site");
    EXPECT_EQ(nothing.findChild<QLabel*>("summary")->text(),
              "Nothing found: every page serves its visitors well.");
    Click(nothing, "dialog_ok");
    EXPECT_EQ(nothing.opened(), std::nullopt);

    sitecheck found(QStringLiteral("/home/me/site"), {"a.html: one", "b.html: two", "site: three"},
                    nullptr);
    found.show();
    auto* list = found.findChild<QListWidget*>("findings");
    ASSERT_EQ(list->count(), 3);
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(found.opened(), std::optional<std::size_t>(1));
    sitecheck closed(QStringLiteral("/home/me/site"), {"a.html: one"}, nullptr);
    Click(closed, "dialog_cancel");
    EXPECT_EQ(closed.opened(), std::nullopt);
}

TEST(Dialogs, TheSiteMenuWindowOrdersTicksAndRelabelsThePages) {
    SiteMenu current;
    current.pages = {{"index.html", "Home"}, {"about.html", "About"}};
    sitemenu dialog(current, {{"index.html", "Home"}, {"about.html", "About"}, {"new.html", "New"}},
                    nullptr);
    dialog.show();
    auto* pages = dialog.findChild<QListWidget*>("pages");
    ASSERT_EQ(pages->count(), 3);
    EXPECT_EQ(pages->item(2)->checkState(), Qt::Unchecked);
    // Each row shows its file name at its right, beside the label.
    const QRect row = pages->visualItemRect(pages->item(0));
    const QImage shot = pages->viewport()->grab(row).toImage();
    const QRgb background = shot.pixel(shot.width() - 2, 1);
    bool drawn = false;
    for (int x = shot.width() - 90; x < shot.width() - 6 && !drawn; ++x) {
        for (int y = 0; y < shot.height() && !drawn; ++y) {
            drawn = shot.pixel(x, y) != background;
        }
    }
    EXPECT_TRUE(drawn) << "index.html at the right of its row";
    // The new page ticked with the keyboard and moved up to the top.
    pages->setFocus();
    pages->setCurrentRow(2);
    QTest::keyClick(pages, Qt::Key_Space);
    for (int i = 0; i < 2; ++i) {
        QTest::mouseClick(dialog.findChild<QPushButton*>("up"), Qt::LeftButton);
    }
    // "About" relabelled in place.
    pages->setCurrentRow(2);
    QTest::keyClick(pages, Qt::Key_F2);
    auto* label = pages->findChild<QLineEdit*>();
    ASSERT_NE(label, nullptr);
    Type(label, QStringLiteral("About us"));
    QTest::keyClick(label, Qt::Key_Return);
    QApplication::processEvents();
    auto* down = dialog.findChild<QRadioButton*>("down");
    QTest::mouseClick(down, Qt::LeftButton, {}, QPoint(5, down->height() / 2));
    // The colour from the colour dialog its button opens.
    QTimer::singleShot(300, [] {
        auto* colours = qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(colours, nullptr);
        colours->setCurrentColor(QColor(0x12, 0x34, 0x56));
        colours->accept();
    });
    QTest::mouseClick(dialog.findChild<QPushButton*>("colourButton"), Qt::LeftButton);
    SiteMenu chosen = dialog.menu();
    EXPECT_EQ(chosen.pages,
              (std::vector<std::pair<std::string, std::string>>{
                  {"new.html", "New"}, {"index.html", "Home"}, {"about.html", "About us"}}));
    EXPECT_TRUE(chosen.leftOut.empty());
    EXPECT_FALSE(chosen.across);
    EXPECT_EQ(chosen.colour, "#123456");
    // Home unticked stays out of the menu, though later pages join it.
    pages->setCurrentRow(1);
    QTest::keyClick(pages, Qt::Key_Space);
    chosen = dialog.menu();
    EXPECT_EQ(chosen.leftOut, std::vector<std::string>{"index.html"});
    EXPECT_EQ(SiteMenuMarkup(chosen, "about.html",
                             {{"index.html", "Home"}, {"about.html", "About"}, {"new.html", "New"}})
                  .find("index.html"),
              std::string::npos);
}

// Cancel on the notice of a publish stays given while new lines come: each line shows the
// notice again, and the publish asks after it.
TEST(Dialogs, ACancelOnTheNoticeStaysGivenAsLinesCome) {
    QWidget owner;
    owner.resize(400, 300);
    owner.show();
    UploadNotice notice(&owner);
    notice.showWaiting(QStringLiteral("Publishing to ftp://127.0.0.1/site"));
    auto* cancel = notice.findChild<QPushButton*>();
    ASSERT_NE(cancel, nullptr);
    QTest::mouseClick(cancel, Qt::LeftButton);
    notice.showWaiting(QStringLiteral("sent a.html"));
    EXPECT_TRUE(notice.cancelled());
    notice.hide();
    notice.showWaiting(QStringLiteral("Publishing again"));
    EXPECT_FALSE(notice.cancelled());
}
