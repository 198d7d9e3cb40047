#include <gtest/gtest.h>

#include <QLineEdit>

#include "items/clickoptions.h"
#include "items/newpage.h"
#include "items/pagetitle.h"
#include "ui/picture_button.h"

namespace {

void Click(QWidget& dialog, const char* caption) {
    dialog.findChild<PictureButton*>(caption)->click();
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
}

TEST(Dialogs, PictureButtonsCarryAllFourPictures) {
    for (const char* caption : {"newpage", "rename", "pagetitle", "ftplaunch", "help", "dialog_ok",
                                "dialog_cancel", "dialog_center", "dialog_edit", "dialog_delete"}) {
        for (const char state : {'U', 'D', 'F', 'X'}) {
            const QString name = QStringLiteral(":/resources/pictures/") +
                                 QString::fromLatin1(caption).toUpper() + QLatin1Char(state) +
                                 QStringLiteral(".png");
            EXPECT_FALSE(QPixmap(name).isNull()) << name.toStdString();
        }
    }
}
