// The text editor window on its own: the keyboard habits of a writer and the box settings; the
// spelling dialog.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalSpy>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <filesystem>
#include <functional>

#include "shell/qt_ports.h"
#include "support/fake_ports.h"
#include "support/font_files.h"
#include "support/temp_folder.h"
#include "textedit/rich_text_document.h"
#include "textedit/spelldialog.h"
#include "textedit/texteditor.h"
#include "ui/picture_button.h"

namespace {

class TextEditorTest : public ::testing::Test {
  protected:
    TextEditorTest() {
        editor.setWorkingFolder(working.path());
        editor.setItemId("pagetextitem4~");
        editor.show();
        area()->setFocus();
    }
    QTextEdit* area() { return editor.editingArea(); }
    CharFormat formatOf(const QString& word) {
        QTextCursor found = area()->document()->find(word);
        found.setPosition(found.selectionStart() + 1);
        return ToCharFormat(found.charFormat());
    }

    TempFolder working;
    FakePrompts prompts;
    texteditor editor{prompts, nullptr};
    QSignalSpy done{&editor, &texteditor::sectionDone};
};

}  // namespace

TEST_F(TextEditorTest, TheKeyboardFormatsUndoesAndNeverLeavesTheEditingArea) {
    QTest::keyClicks(area(), "one two");
    area()->selectAll();
    QTest::keyClick(area(), Qt::Key_B, Qt::ControlModifier);
    QTest::keyClick(area(), Qt::Key_I, Qt::ControlModifier);
    QTest::keyClick(area(), Qt::Key_U, Qt::ControlModifier);
    EXPECT_TRUE(formatOf("one").bold);
    EXPECT_TRUE(formatOf("two").italic);
    EXPECT_TRUE(formatOf("two").underline);
    EXPECT_TRUE(editor.findChild<PictureButton*>("boldbutton")->isChecked());
    // A selection bold throughout loses it.
    QTest::keyClick(area(), Qt::Key_B, Qt::ControlModifier);
    EXPECT_FALSE(formatOf("one").bold);
    QTest::keyClick(area(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(formatOf("one").bold);
    QTest::keyClick(area(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_FALSE(formatOf("one").bold);

    // Tab types nothing and keeps the focus; Enter outside the area keeps the window open.
    area()->moveCursor(QTextCursor::End);
    QTest::keyClick(area(), Qt::Key_Tab);
    EXPECT_EQ(area()->toPlainText(), "one two");
    EXPECT_EQ(editor.focusWidget(), area());
    QTest::keyClick(editor.findChild<QComboBox*>("sizes"), Qt::Key_Return);
    EXPECT_TRUE(editor.isVisible());

    // Escape closes the section without telling the owner.
    QTest::keyClick(area(), Qt::Key_Escape);
    EXPECT_FALSE(editor.isVisible());
    EXPECT_TRUE(done.isEmpty());
    EXPECT_NE(editor.state().htmlText.find("one"), std::string::npos);
    EXPECT_FALSE(editor.state().cancelled);
}

TEST_F(TextEditorTest, BoxSettingsComeFromTheRecordAndTheButtons) {
    editor.applyTextProperties("pagetextitem4~^#FFA500^^#000080^3px^YESRIGHTALIGN");
    editor.showAlignment();
    EXPECT_EQ(area()->palette().color(QPalette::Base), QColor(255, 165, 0));
    EXPECT_EQ(editor.findChild<QComboBox*>("borderWidths")->currentText(), "3px");
    EXPECT_TRUE(editor.findChild<QWidget*>("right")->property("checked").toBool());

    // A cancelled colour chooser empties the value: that is how a box loses its colour.
    prompts.colours = {std::nullopt, Rgb{0, 128, 0}};
    editor.findChildren<PictureButton*>("pallette")[0]->click();
    EXPECT_EQ(editor.findChild<QLabel*>("backgroundColour")->text(), "");
    editor.findChildren<PictureButton*>("pallette")[1]->click();
    EXPECT_EQ(editor.findChild<QLabel*>("borderColour")->text(), "#008000");

    // The first browse opens in the backgrounds; the picture is copied there.
    std::filesystem::create_directories(working / "backgrounds");
    WriteFile(working / "logo.gif", "GIF89a");
    prompts.openFileNames = {working / "logo.gif"};
    editor.findChild<PictureButton*>("browse")->click();
    EXPECT_EQ(prompts.openRequests[0].startPath, working / "backgrounds/*.*");
    EXPECT_EQ(editor.findChild<QLineEdit*>("backgroundImage")->text(), "backgrounds/logo.gif");
    EXPECT_EQ(ReadFile(working / "backgrounds/logo.gif"), "GIF89a");

    // A link needs a selection.
    editor.findChild<PictureButton*>("link")->click();
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].caption, "No selection prompt:");

    editor.findChild<PictureButton*>("done")->click();
    ASSERT_EQ(done.size(), 1);
    EXPECT_EQ(done[0][0].toInt(), TextEditorState::kNewSection);
    EXPECT_EQ(editor.state().borderWidth, "3px");
    EXPECT_EQ(editor.state().borderColor, "#008000");
    EXPECT_EQ(editor.state().backgroundImage, "backgrounds/logo.gif");
}

TEST(SpellDialog, SuggestionsFillTheWordAndEachButtonGivesItsAnswer) {
    const auto run = [](const char* button, const std::function<void(spelldialog&)>& before) {
        spelldialog dialog("thier", "their there  ", nullptr);
        before(dialog);
        dialog.findChild<PictureButton*>(button)->click();
        return dialog.answer();
    };
    const auto chooseSecond = [](spelldialog& dialog) {
        auto* list = dialog.findChild<QListWidget*>("suggestions");
        ASSERT_EQ(list->count(), 2);
        EXPECT_EQ(list->item(0)->text(), "their");
        list->setCurrentRow(1);
        EXPECT_EQ(dialog.findChild<QLineEdit*>("replacement")->text(), "there");
        dialog.findChild<QLineEdit*>("replacement")->setText("typed");
    };
    const SpellAnswer updated = run("update", chooseSecond);
    EXPECT_EQ(updated.replacement, "typed");
    EXPECT_FALSE(updated.addWord);
    // Ignore keeps the word, or the suggestion chosen last, not what was typed.
    EXPECT_EQ(run("ignore", chooseSecond).replacement, "there");
    EXPECT_EQ(run("ignore", [](spelldialog&) {}).replacement, "thier");
    EXPECT_TRUE(run("dictionary", chooseSecond).addWord);
    EXPECT_TRUE(run("dialog_cancel", [](spelldialog&) {}).cancelAll);
}

// The faces that travel with a site come first, each shown in its own face; a font file
// chosen in Qt's own file dialog joins them, unless its licence keeps it on this computer.
TEST_F(TextEditorTest, TheFacesThatTravelComeFirstAndAChosenFontFileJoinsThem) {
    auto* faces = editor.findChild<QComboBox*>("faces");
    ASSERT_GT(faces->count(), 6);
    EXPECT_EQ(faces->itemText(0), "Arial");
    EXPECT_EQ(faces->itemText(1), "Times New Roman");
    EXPECT_EQ(faces->itemText(2), "Courier New");
    int firstMarked = -1;
    for (int i = 0; i < faces->count(); ++i) {
        const bool marked = faces->itemText(i).contains(QString::fromUtf8("only on this computer"));
        if (marked && firstMarked < 0) {
            firstMarked = i;
        }
        EXPECT_EQ(marked, firstMarked >= 0) << faces->itemText(i).toStdString();
        EXPECT_EQ(faces->itemData(i, Qt::FontRole).isValid(), !marked)
            << faces->itemText(i).toStdString();
    }
    EXPECT_NE(faces->findText("Open Sans"), -1);
    EXPECT_LT(faces->findText("Open Sans"), firstMarked);

    TempFolder chosen;
    ASSERT_TRUE(test_fonts::WriteRestrictedFont(chosen / "restricted.ttf"));
    ASSERT_TRUE(test_fonts::WriteRenamedFont(chosen / "houseprint.ttf", "Houseprint", false));
    QtPrompts dialogs;
    dialogs.setOwner(&editor);
    prompts.realFileDialogs = &dialogs;
    for (const std::string& file : {chosen / "restricted.ttf", chosen / "houseprint.ttf"}) {
        // The user types the file's path into the dialog and presses Enter.
        QTimer::singleShot(100, [&] {
            std::function<void()> answer = [&] {
                auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
                if (dialog == nullptr) {
                    QTimer::singleShot(50, answer);
                    return;
                }
                auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
                name->setText(QString::fromStdString(file));
                QTest::keyClick(name, Qt::Key_Return);
            };
            answer();
        });
        QTest::mouseClick(editor.findChild<PictureButton*>("addfont"), Qt::LeftButton);
    }
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text,
              "The licence of restricted.ttf forbids putting it in a web page, so it cannot "
              "travel with a site.");
    EXPECT_TRUE(std::filesystem::exists(working / "fonts/houseprint.ttf"));
    EXPECT_FALSE(std::filesystem::exists(working / "fonts/restricted.ttf"));
    const int added = faces->findData(QStringLiteral("Houseprint Sans"));
    ASSERT_NE(added, -1);
    EXPECT_EQ(faces->currentIndex(), added);
    EXPECT_TRUE(faces->itemData(added, Qt::FontRole).isValid());
}
