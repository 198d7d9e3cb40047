// The design loop as a user lives it: pictures chosen in Qt's own file dialog and placed where
// the add menu opened, drags and deletes taken back one step at a time, the window's keys from
// inside the editor page, and stored positions that no window size moves.
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFontInfo>
#include <QImage>
#include <QLineEdit>
#include <QListView>
#include <QMenuBar>
#include <filesystem>
#include <memory>

#include "common/text_search.h"
#include "page/page_record.h"
#include "shell/qt_ports.h"
#include "window_fixture.h"

namespace {

constexpr double kMenuX = 56;
constexpr double kAddPictureY = 22;

class DesignLoopTest : public WindowFixture {
  protected:
    DesignLoopTest() {
        std::filesystem::create_directories(pictures());
        QImage picture(40, 30, QImage::Format_RGB32);
        picture.fill(Qt::darkGreen);
        picture.save(QString::fromStdString(JoinPath(pictures(), "a.jpg")), "JPG");
        picture.save(QString::fromStdString(JoinPath(pictures(), "IMG_0001.PNG")), "PNG");
        WriteFile(JoinPath(pictures(), "notes.txt"), "not a picture");
    }

    std::string pictures() const { return JoinPath(home.path(), "Pictures"); }

    // Answers the next file dialog as a user does: types the folder and Enter, reads what the
    // dialog lists there, looks about for the thinking time, then types the file's name and
    // Enter, or presses Escape when no file is named. The recovery file is read when the dialog
    // comes up and when it is answered.
    void answerFileDialog(const QString& file, int thinkingMs = 0) {
        auto* timer = new QTimer(window.get());
        timer->setInterval(100);
        auto shown = std::make_shared<QElapsedTimer>();
        QObject::connect(timer, &QTimer::timeout, [this, timer, file, shown, thinkingMs] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog) {
                return;
            }
            if (!shown->isValid()) {
                shown->start();
                recoveryAtOpen = ReadFile(path("recovery.qlr"));
            }
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            const QString folder = QString::fromStdString(pictures());
            if (dialog->directory().absolutePath() != folder) {
                name->setText(folder);
                QTest::keyClick(name, Qt::Key_Return);
                return;
            }
            const QStringList names = listedIn(*dialog);
            if (names.isEmpty() || names != listed) {
                listed = names;
                return;
            }
            if (shown->elapsed() < thinkingMs) {
                return;
            }
            timer->stop();
            timer->deleteLater();
            recoveryAtAnswer = ReadFile(path("recovery.qlr"));
            answered = true;
            if (file.isEmpty()) {
                QTest::keyClick(dialog, Qt::Key_Escape);
                return;
            }
            name->setText(file);
            QTest::keyClick(name, Qt::Key_Return);
        });
        timer->start();
    }

    static QStringList listedIn(QFileDialog& dialog) {
        auto* view = dialog.findChild<QListView*>(QStringLiteral("listView"));
        QStringList names;
        for (int row = 0; row < view->model()->rowCount(view->rootIndex()); ++row) {
            names << view->model()->index(row, 0, view->rootIndex()).data().toString();
        }
        names.sort();
        return names;
    }

    // Opens the add menu at the point and adds the file picked in the real dialog.
    std::string addPicture(const QPointF& at, const QString& file, int thinkingMs = 0) {
        const std::size_t before = page().pictures.size();
        realDialogs.setOwner(window.get());
        prompts.realFileDialogs = &realDialogs;
        answerFileDialog(file, thinkingMs);
        click(at);
        menuSpot = js("(function(){var t=window.frames['editor'].document.getElementById('target');"
                      "return parseInt(t.style.left,10)+','+parseInt(t.style.top,10);})()")
                       .toString();
        if (!redrawnAfter([&] { click(at + QPointF(kMenuX, kAddPictureY)); }) || !editorShown() ||
            page().pictures.size() != before + 1) {
            return std::string();
        }
        return ItemNameIn(page().pictures.back());
    }

    const PageRecord& page() { return window->session().workspace().page; }

    QString menuText(const char* verb) {
        for (QAction* action : window->menuBar()->findChildren<QAction*>()) {
            if (action->text().startsWith(QLatin1String(verb))) {
                return action->text();
            }
        }
        return QString();
    }
    std::string storedLayout(const std::string& file) {
        return stored("select STYLESDATA from quillprojects where FILENAME = '" + file + "'");
    }

    QtPrompts realDialogs;
    QStringList listed;
    std::string recoveryAtOpen;
    std::string recoveryAtAnswer;
    bool answered = false;
    // Where the add menu opened, in its container.
    QString menuSpot;
};

}  // namespace

TEST_F(DesignLoopTest, PicturesComeFromTheRealDialogAndEveryStepIsTakenBackAlone) {
    storeOneTextPage("loop.html", "Loop", "Words", "800");
    startWindow();
    window->resize(1300, 800);
    ASSERT_TRUE(resume());

    // Each picture lands where the menu opened.
    const std::string first = addPicture(place(100, 200), QStringLiteral("a.jpg"));
    ASSERT_FALSE(first.empty());
    EXPECT_EQ(listed, (QStringList{"IMG_0001.PNG", "a.jpg"}));
    const QString added = spot(picture(first));
    EXPECT_EQ(added, menuSpot);
    const std::string second = addPicture(place(400, 200), QStringLiteral("IMG_0001.PNG"));
    ASSERT_FALSE(second.empty());
    // Taken from where it lies: nothing is written beside the user's picture.
    EXPECT_EQ(page().pictures.back(), second + JoinPath(pictures(), "IMG_0001.PNG"));
    EXPECT_FALSE(std::filesystem::exists(JoinPath(pictures(), "IMG_0001.png")));
    EXPECT_EQ(spot(picture(second)), menuSpot);
    const QString secondAt = menuSpot;

    // Two drags a while apart are two steps.
    drag(centreOf(picture(first)), QPointF(60, 0));
    const QString dragged = spot(picture(first));
    QTest::qWait(500);
    drag(centreOf(picture(first)), QPointF(0, 40));
    const QString draggedAgain = spot(picture(first));
    EXPECT_NE(dragged, added);
    EXPECT_NE(draggedAgain, dragged);
    window->browser()->focusProxy()->setFocus();
    ASSERT_TRUE(undoneAfter([&] { press(Qt::Key_Z, Qt::ControlModifier); }));
    EXPECT_EQ(spot(picture(first)), dragged);
    ASSERT_TRUE(undoneAfter([&] { press(Qt::Key_Z, Qt::ControlModifier); }));
    EXPECT_EQ(spot(picture(first)), added);
    ASSERT_TRUE(undoneAfter([&] { press(Qt::Key_Y, Qt::ControlModifier); }));
    ASSERT_TRUE(undoneAfter([&] { press(Qt::Key_Y, Qt::ControlModifier); }));
    EXPECT_EQ(spot(picture(first)), draggedAgain);

    // A picture and a section, each clicked, its options cancelled, deleted with the key and
    // given back by one undo; a redo deletes it again.
    for (const QString& item : {picture(second), QStringLiteral("div[id='pagetextitem1~']")}) {
        const QString where = spot(item);
        click(centreOf(item));
        window->browser()->focusProxy()->setFocus();
        ASSERT_TRUE(undoneAfter([&] { press(Qt::Key_Delete); })) << item.toStdString();
        EXPECT_EQ(spot(item), "gone");
        ASSERT_TRUE(undoneAfter([&] { press(Qt::Key_Z, Qt::ControlModifier); }));
        EXPECT_EQ(spot(item), where) << item.toStdString();
        EXPECT_TRUE(menuText("Redo").startsWith("Redo delete")) << menuText("Redo").toStdString();
        ASSERT_TRUE(undoneAfter([&] { press(Qt::Key_Y, Qt::ControlModifier); }));
        EXPECT_EQ(spot(item), "gone");
        ASSERT_TRUE(undoneAfter([&] { press(Qt::Key_Z, Qt::ControlModifier); }));
        EXPECT_EQ(spot(item), where);
    }
    EXPECT_NE(js("window.frames['editor'].document.getElementById('pagetextitem1~').innerHTML")
                  .toString()
                  .indexOf("Words"),
              -1);

    // Selected, nudged with an arrow, and saved with Ctrl+S while the page has the keyboard.
    click(centreOf(picture(first)));
    window->browser()->focusProxy()->setFocus();
    pressInPage(Qt::Key_Right);
    const QStringList nudged = spot(picture(first)).split(',');
    const std::string before = ReadFile(path("webpages/loop.html"));
    pressInPage(Qt::Key_S, Qt::ControlModifier);
    ASSERT_TRUE(WaitFor([&] { return ReadFile(path("webpages/loop.html")) != before; }, 5000));
    const std::string published = ReadFile(path("webpages/loop.html"));
    const auto at = [](const QStringList& leftTop) {
        return QStringLiteral("top:%1px;left:%2px;").arg(leftTop[1], leftTop[0]).toStdString();
    };
    EXPECT_EQ(nudged[0].toInt(), draggedAgain.split(',')[0].toInt() + 1);
    EXPECT_NE(published.find(at(nudged)), std::string::npos) << published;
    EXPECT_NE(published.find(at(secondAt.split(','))), std::string::npos) << published;
    EXPECT_NE(published.find("Words"), std::string::npos);

    // Five changes back to the start: the nudge, two drags, two pictures.
    for (int step = 0; step < 5; ++step) {
        ASSERT_TRUE(undoneAfter([&] { press(Qt::Key_Z, Qt::ControlModifier); })) << step;
    }
    EXPECT_FALSE(window->session().workspace().history.canUndo());
    save("webpages/loop.html");
    EXPECT_EQ(ReadFile(path("webpages/loop.html")).find("IMG_0001"), std::string::npos);
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(DesignLoopTest, StoredPositionsHoldAtEveryWindowSize) {
    const PageRecord stored = textAndPicturePage("sizes.html", "Held");
    store(stored, true);
    startWindow();
    window->resize(1300, 800);
    ASSERT_TRUE(resume());

    const std::string published = path("webpages/sizes.html");
    const auto saveAt = [&](const std::function<void()>& size) {
        size();
        QTest::qWait(300);
        std::filesystem::remove(published);
        js("window.frames['controls'].runCommand('http://savepage')");
        WaitFor([&] { return std::filesystem::exists(published); }, 5000);
        return storedLayout("sizes.html");
    };
    const auto places = [](const std::string& layout) {
        const std::size_t text = layout.find("top: 100px; left: 50px;");
        const std::size_t picture = layout.find("top:300px;left:136px;");
        return text != std::string::npos && picture != std::string::npos;
    };
    for (const int width : {1300, 1000, 1501, 806, 700}) {
        EXPECT_TRUE(places(saveAt([&] { window->resize(width, 800); })))
            << width << ": " << storedLayout("sizes.html");
    }
    EXPECT_TRUE(places(saveAt([&] { window->showMaximized(); }))) << storedLayout("sizes.html");
    EXPECT_TRUE(places(saveAt([&] { window->showNormal(); }))) << storedLayout("sizes.html");

    // A full-screen page measures from the page's corner: its places hold too.
    ASSERT_TRUE(controlsCommand("http://pagecontainer0") && editorShown());
    const std::string fullScreen = saveAt([&] { window->resize(1300, 800); });
    for (const int width : {1000, 1501, 700}) {
        EXPECT_EQ(saveAt([&] { window->resize(width, 800); }), fullScreen) << width;
    }

    // The exit save takes the page's own places as well.
    ASSERT_TRUE(controlsCommand("http://pagecontainer2") && editorShown());
    saveAt([&] { window->resize(1300, 800); });
    window->resize(900, 800);
    QTest::qWait(300);
    const std::string beforeExit = storedLayout("sizes.html");
    window->close();
    EXPECT_EQ(storedLayout("sizes.html"), beforeExit);
}

TEST_F(DesignLoopTest, ANewPageStartsWithoutAGridAndTheWindowKeysWorkFromThePage) {
    storeOneTextPage("keys.html", "Keys", "Keys", "800");
    startWindow();
    ASSERT_TRUE(resume());
    ASSERT_TRUE(controlsCommand("http://gridchange1") && editorShown());
    const auto grid = [&] {
        return js("(function(){var c=window.frames['controls'].document;var shown=[];"
                  "['grid0','grid10','grid20','grid50'].forEach(function(id){"
                  "if(c.getElementById(id).style.background){shown.push(id);}});"
                  "return shown.join(',')+'|'+(window.frames['editor'].document.body"
                  ".getAttribute('background')||'');})()")
            .toString();
    };
    EXPECT_EQ(grid(), "grid10|grid1.gif");

    // New Page and Help from the keyboard while the page has it.
    prompts.fileNames = {path("webpages/fresh.html")};
    window->browser()->focusProxy()->setFocus();
    ASSERT_TRUE(redrawnAfter([&] { pressInPage(Qt::Key_N, Qt::ControlModifier); }));
    ASSERT_TRUE(editorShown());
    EXPECT_EQ(page().fileName, "fresh.html");
    EXPECT_EQ(prompts.saveRequests.size(), 1u);
    EXPECT_EQ(grid(), "grid0|");
    pressInPage(Qt::Key_F1);
    ASSERT_EQ(shell.opened.size(), 1u);
    EXPECT_NE(shell.opened[0].find("quillhelp.html"), std::string::npos);

    // The default face looks the same in the text editor and on the page.
    EXPECT_EQ(QFontInfo(QFont(QStringLiteral("Arial"))).family(), "Liberation Sans");
    EXPECT_TRUE(js("(function(){var c=document.createElement('canvas').getContext('2d');"
                   "var w=function(f){c.font='16px '+f;return c.measureText('Quillora Wg').width;};"
                   "return w('Arial')===w('\"Liberation Sans\"')&&w('Arial')!==w('serif');})()")
                    .toBool());
}

// Two cameras' photo.jpg, picked in the real dialog from their own folders: the user's folders
// get nothing written, and the saved page shows each from a copy of its own.
TEST_F(DesignLoopTest, TwoPicturesOfOneNameEachKeepTheirOwnCopyBesideTheSavedPage) {
    for (const auto& [folder, colour] :
         {std::pair{"orange", Qt::darkYellow}, std::pair{"red", Qt::darkRed}}) {
        std::filesystem::create_directories(JoinPath(pictures(), folder));
        QImage photo(40, 30, QImage::Format_RGB32);
        photo.fill(colour);
        photo.save(QString::fromStdString(JoinPath(JoinPath(pictures(), folder), "photo.jpg")),
                   "JPG");
    }
    storeOneTextPage("two.html", "Two", "Words", "800");
    startWindow();
    window->resize(1300, 800);
    ASSERT_TRUE(resume());
    ASSERT_FALSE(addPicture(place(100, 200), QStringLiteral("orange/photo.jpg")).empty());
    ASSERT_FALSE(addPicture(place(400, 200), QStringLiteral("red/photo.jpg")).empty());
    save("webpages/two.html");
    const std::string text = ReadFile(path("webpages/two.html"));
    EXPECT_NE(text.find("SRC=\"photo.jpg\""), std::string::npos) << text;
    EXPECT_NE(text.find("SRC=\"photo-2.jpg\""), std::string::npos) << text;
    EXPECT_EQ(ReadFile(path("webpages/photo.jpg")),
              ReadFile(JoinPath(pictures(), "orange/photo.jpg")));
    EXPECT_EQ(ReadFile(path("webpages/photo-2.jpg")),
              ReadFile(JoinPath(pictures(), "red/photo.jpg")));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(JoinPath(pictures(), "red")), {}),
              1);
}

// A user who looks about the Open dialog for longer than the recovery file's delay and the
// page's longest wait together: nothing of the program runs inside the dialog and waits on the
// page, which is itself waiting for the dialog's answer. The design is kept for recovery once
// the command is done, and the page answers at once.
TEST_F(DesignLoopTest, ALongLookInTheOpenDialogLeavesNothingRunningBehindIt) {
    storeOneTextPage("slow.html", "Slow", "Words", "800");
    startWindow();
    window->resize(1300, 800);
    ASSERT_TRUE(resume());
    const std::string added = addPicture(place(100, 200), QStringLiteral("a.jpg"));
    ASSERT_FALSE(added.empty());

    // The menu's visibility and place, its top moved down by the offset.
    const auto menuAt = [this](int down) {
        return js(QStringLiteral(
                      "(function(){var t=window.frames['editor'].document.getElementById('target');"
                      "return t.style.visibility+' '+parseInt(t.style.left,10)+','+"
                      "(parseInt(t.style.top,10)+%1);})()")
                      .arg(down))
            .toString();
    };
    constexpr int kLongerThanTheDelayAndTheWait = 4500;
    answerFileDialog(QString(), kLongerThanTheDelayAndTheWait);
    click(place(300, 400));
    const QString lowerByFifty = menuAt(50);
    click(place(300, 400) + QPointF(kMenuX, kAddPictureY));
    ASSERT_TRUE(WaitFor([&] { return answered && QApplication::activeModalWidget() == nullptr; }));
    EXPECT_EQ(recoveryAtAnswer, recoveryAtOpen);
    click(place(300, 450));
    EXPECT_EQ(menuAt(0), lowerByFifty);
    EXPECT_TRUE(WaitFor([&] { return Contains(ReadFile(path("recovery.qlr")), added); }, 5000));
    EXPECT_TRUE(prompts.shown.empty());
}
