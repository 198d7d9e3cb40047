// The first hour of a user under bad conditions: a damaged or locked page store, an editor
// page that cannot be written, names with quotes, and the keyboard.
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenuBar>
#include <QTimer>
#include <filesystem>

#include "page/page_record.h"
#include "shell/qt_ports.h"
#include "store/db/sqlite_cursor.h"
#include "ui/picture_button.h"
#include "window_fixture.h"

namespace {

class BadConditionsTest : public WindowFixture {
  protected:
    // A stored page with one text section, which the last session names.
    void storeTextPage() { storeOneTextPage("text.html", "Text page", "Drag me"); }

    void save() { js("window.frames['controls'].runCommand('http://savepage')"); }

    bool storedPageExists(const std::string& folder, const std::string& file) {
        return !stored("select ID from quillprojects where DIRECTORY = '" + folder +
                       "' and FILENAME = '" + file + "'")
                    .empty();
    }
};

}  // namespace

TEST_F(BadConditionsTest, ADamagedPageStoreIsKeptAsideAndTheUserWorksOn) {
    const std::string garbage(3000, 'x');
    WriteFile(path("quilldata.db"), garbage);
    problems = SetUpWorkingFolder(working, InstalledFiles(), SystemDictionaryFolder(), prompts);
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_NE(problems[0].find("It was kept unchanged as " + path("quilldata.damaged.db")),
              std::string::npos);
    EXPECT_EQ(ReadFile(path("quilldata.damaged.db")), garbage);

    startWindow();
    ASSERT_TRUE(resume());
    EXPECT_EQ(window->windowTitle(), "Quillora quickstart");
    prompts.fileNames = {path("webpages/fresh.html")};
    ASSERT_TRUE(redrawnAfter([&] { window->findChild<PictureButton*>("newpage")->click(); }));
    ASSERT_TRUE(editorShown());
    save();
    ASSERT_TRUE(WaitFor([&] { return storedPageExists(path("webpages"), "fresh.html"); }));
    EXPECT_NE(ReadFile(path("webpages/fresh.html")).find("<title>New Web Page</title>"),
              std::string::npos);
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(BadConditionsTest, AStoreThatCannotBeWrittenGivesOneMessagePerSaveAndKeepsThePageFile) {
    storeTextPage();
    startWindow();
    ASSERT_TRUE(resume());
    // No journal can be made beside the store, as in a folder that cannot be written.
    std::filesystem::create_directories(path("quilldata.db-journal"));
    save();
    ASSERT_TRUE(WaitFor([&] { return !prompts.shown.empty(); }));
    EXPECT_NE(ReadFile(path("webpages/text.html")).find("Drag me"), std::string::npos);
    save();
    ASSERT_TRUE(WaitFor([&] { return prompts.shown.size() == 2; }));
    window->close();
    // The exit's save fails too: the recovery file is kept, and the user is told.
    ASSERT_EQ(prompts.shown.size(), 4u);
    EXPECT_EQ(prompts.shown.back().caption, "Changes kept");
    prompts.shown.pop_back();
    for (const ShownMessage& message : prompts.shown) {
        EXPECT_EQ(message.caption, "db error");
        EXPECT_EQ(message.text.rfind("The page design was not stored: SQLITE_", 0), 0u)
            << message.text;
    }
}

TEST_F(BadConditionsTest, AnEditorPageThatCannotBeWrittenIsReportedAndThePageShownStays) {
    storeTextPage();
    startWindow();
    ASSERT_TRUE(resume());
    drag(centreOf("div[id='pagetextitem1~']"), QPointF(100, 0));
    std::filesystem::remove(path("quilltemp.html"));
    std::filesystem::create_directories(path("quilltemp.html"));
    const int loadsBefore = loads;
    js("window.frames['controls'].runCommand('http://gridchange1')");
    ASSERT_TRUE(WaitFor([&] { return !prompts.shown.empty(); }));
    QTest::qWait(300);
    EXPECT_EQ(loads, loadsBefore);
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text.rfind("The editor page could not be written to ", 0), 0u);
    EXPECT_NE(window->session().workspace().page.stylesData.find("left: 150px"), std::string::npos);
    EXPECT_EQ(js("window.frames['editor'].document.getElementById('pagetextitem1~').style.left")
                  .toString(),
              "150px");
}

// The real file dialog, typed into as a user does: the quotes stay part of the name.
TEST_F(BadConditionsTest, APageNameWithQuotesIsTakenAsTyped) {
    startWindow();
    ASSERT_TRUE(resume());
    QtPrompts dialogs;
    QTimer typing;
    QObject::connect(&typing, &QTimer::timeout, [&] {
        if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
            dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))
                ->setText(QStringLiteral("Zoë's \"page\""));
            QMetaObject::invokeMethod(dialog, "accept");
        }
    });
    typing.start(50);
    const std::optional<std::string> chosen = dialogs.saveFileName(
        {"New Web Page File Name", "html file (*.html)|*.html||", path("webpages/newpage.html")});
    ASSERT_TRUE(chosen);
    EXPECT_EQ(*chosen, path("webpages/Zoë's \"page\""));

    prompts.fileNames = {*chosen};
    ASSERT_TRUE(redrawnAfter([&] { window->findChild<PictureButton*>("newpage")->click(); }));
    EXPECT_TRUE(std::filesystem::exists(path("webpages/Zoë-s -page-.html")));
    EXPECT_FALSE(std::filesystem::exists(path("webpages/Zoë-s -page-")));
    EXPECT_EQ(window->findChild<QComboBox*>("pages")->currentText().toStdString(),
              "Zoë-s -page-.html");
}

TEST_F(BadConditionsTest, TheKeyboardReachesTheCommandsOfTheBar) {
    storeTextPage();
    startWindow();
    ASSERT_TRUE(resume());
    QMenu* file = window->menuBar()->actions().front()->menu();
    QStringList shown;
    for (const QAction* action : file->actions()) {
        if (!action->shortcut().isEmpty()) {
            shown << action->text() + " " + action->shortcut().toString();
        }
    }
    EXPECT_EQ(shown.join(", "), "New Page Ctrl+N, Save Ctrl+S, Save As... Ctrl+Shift+S, Help F1");

    QWidget* browser = window->browser()->focusProxy();
    browser->setFocus();
    QTest::keyClick(browser, Qt::Key_S, Qt::ControlModifier);
    ASSERT_TRUE(WaitFor(
        [&] { return ReadFile(path("webpages/text.html")).find("Drag me") != std::string::npos; }));
    QTest::keyClick(browser, Qt::Key_F1);
    EXPECT_EQ(shell.opened, std::vector<std::string>{path("help/quillhelp.html")});
    QTest::keyClick(browser, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    ASSERT_TRUE(WaitFor([&] { return prompts.saveRequests.size() == 1; }));
    QTest::keyClick(browser, Qt::Key_N, Qt::ControlModifier);
    ASSERT_EQ(prompts.saveRequests.size(), 2u);
    EXPECT_EQ(prompts.saveRequests[0].title, "Save Current Page As");
    EXPECT_EQ(prompts.saveRequests[1].title, "New Web Page File Name");
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(BadConditionsTest, OnlyTheProgramsOwnPagesReachItsCommands) {
    storeTextPage();
    startWindow();
    ASSERT_TRUE(resume());
    const QString ask = "prompt('quillora:navigate', 'http://keyhelp')";
    // A frame of another origin inside the editor page gets no answer: it cannot even load.
    js("var f = window.frames['editor'].document.createElement('iframe');"
       "f.sandbox = 'allow-scripts allow-modals';"
       "f.srcdoc = '<script>" +
       ask + "</script>';window.frames['editor'].document.body.appendChild(f);");
    QTest::qWait(1500);
    EXPECT_TRUE(shell.opened.empty());
    // The program's own page is answered.
    EXPECT_EQ(js("window.frames['editor']." + ask).toString(), "cancel");
    EXPECT_EQ(shell.opened.size(), 1u);

    // Nor does a page from anywhere else, even one named like the program's.
    const std::string foreign = JoinPath(home.path(), "quillscreen.html");
    WriteFile(foreign, "<html><body>elsewhere</body></html>");
    ASSERT_TRUE(redrawnAfter(
        [&] { window->browser()->load(QUrl::fromLocalFile(QString::fromStdString(foreign))); }));
    EXPECT_TRUE(js(ask + " === null").toBool());
    EXPECT_EQ(shell.opened.size(), 1u);
}
