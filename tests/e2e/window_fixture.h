#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointF>
#include <QTest>
#include <QTimer>
#include <QWebEngineView>
#include <cstdlib>
#include <functional>
#include <memory>

#include "common/paths.h"
#include "common/working_folder.h"
#include "setup/working_folder_setup.h"
#include "shell/installed_files.h"
#include "shell/main_view.h"
#include "store/db/sqlite_cursor.h"
#include "store/db/sqlite_database.h"
#include "store/page_store.h"
#include "support/fake_ports.h"
#include "support/temp_folder.h"

// The program's window on a temporary home folder, with the real browser. Only the answers to
// dialogs and the user's own browser are scripted.
class WindowFixture : public ::testing::Test {
  protected:
    // How gestures are paced: as a user makes them, or one event straight after another.
    enum class Pace { UserLike, Quick };

    WindowFixture() {
        setenv("HOME", home.path().c_str(), 1);
        working = DefaultWorkingFolder();
        problems = SetUpWorkingFolder(working, InstalledFiles(), SystemDictionaryFolder(), prompts);
    }
    ~WindowFixture() override {
        if (window) {
            window->close();
        }
    }

    void startWindow() {
        window = std::make_unique<MainView>(working, MainViewPorts{prompts, shell});
        window->resize(1200, 800);
        window->show();
        QObject::connect(window->browser()->page(), &QWebEnginePage::loadFinished,
                         [this](bool) { ++loads; });
    }

    static bool WaitFor(const std::function<bool()>& condition, int timeoutMs = 15000) {
        QElapsedTimer timer;
        timer.start();
        while (!condition()) {
            if (timer.elapsed() > timeoutMs) {
                return false;
            }
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            QTest::qWait(10);
        }
        return true;
    }

    // The version of the editor page shown: a number once the program has brought it up to
    // date in place, "undefined" while it is as loaded, empty without one.
    QString editorVersion() {
        return js("(function(){var e=window.frames['editor'];"
                  "return e&&e.dd?String(e.dd.version):'';})()")
            .toString();
    }

    // Runs the action and waits until the page has been redrawn after it: a page loaded, or
    // the editor page brought up to date in place.
    bool redrawnAfter(const std::function<void()>& action) {
        const int before = loads;
        const QString version = editorVersion();
        action();
        return WaitFor([&] {
            if (loads > before) {
                return true;
            }
            const QString now = editorVersion();
            return now != version && !now.isEmpty() && now != QLatin1String("undefined");
        });
    }

    QVariant js(const QString& script) {
        QVariant result;
        bool done = false;
        window->browser()->page()->runJavaScript(script, [&](const QVariant& value) {
            result = value;
            done = true;
        });
        WaitFor([&] { return done; });
        return result;
    }

    // Waits for the designer's frame set with the editor page and the controls loaded.
    bool editorShown() {
        return WaitFor([&] {
            return js("(function(){var e=window.frames['editor'];var c=window.frames['controls'];"
                      "return !!(e&&c&&e.document.readyState==='complete'&&"
                      "c.document.readyState==='complete'&&e.dd&&c.setForm);})()")
                .toBool();
        });
    }

    bool welcomeShown() {
        return WaitFor([&] {
            return js("document.readyState==='complete'&&!!document.getElementById('resume')")
                .toBool();
        });
    }

    // The welcome page's link to the last page.
    bool resume() {
        return welcomeShown() &&
               redrawnAfter([&] { js("document.getElementById('resume').click()"); }) &&
               editorShown();
    }

    // Runs a command of the controls page as its buttons do.
    bool controlsCommand(const QString& address) {
        return redrawnAfter([&] { js("window.frames['controls'].runCommand('" + address + "')"); });
    }

    // The centre of an element of the editor page, in the browser's coordinates.
    QPointF centreOf(const QString& selector) {
        const QVariantList point =
            js("(function(){var f=document.getElementById('editor').getBoundingClientRect();"
               "var e=window.frames['editor'].document.querySelector(\"" +
               selector +
               "\").getBoundingClientRect();"
               "return [f.left+e.left+e.width/2, f.top+e.top+e.height/2];})()")
                .toList();
        return point.size() == 2 ? QPointF(point[0].toDouble(), point[1].toDouble()) : QPointF();
    }

    // Drags with the mouse as a user does: press, several moves, release.
    void drag(const QPointF& from, const QPointF& by, int steps = 5, Pace pace = Pace::UserLike) {
        sendMouse(QEvent::MouseMove, from, Qt::NoButton, Qt::NoButton, pace);
        sendMouse(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton, pace);
        for (int step = 1; step <= steps; ++step) {
            sendMouse(QEvent::MouseMove, from + by * step / static_cast<double>(steps),
                      Qt::NoButton, Qt::LeftButton, pace);
        }
        sendMouse(QEvent::MouseButtonRelease, from + by, Qt::LeftButton, Qt::NoButton, pace);
        if (pace == Pace::UserLike) {
            QTest::qWait(100);
        }
    }

    // A click as a user makes it, at a point of the browser.
    void click(const QPointF& at, Pace pace = Pace::UserLike) {
        sendMouse(QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton, pace);
        sendMouse(QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton, pace);
        sendMouse(QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton, pace);
        if (pace == Pace::UserLike) {
            QTest::qWait(100);
        }
    }

    // A point of the browser: the container's corner plus the offset, or the page's own
    // corner when outside is set.
    QPointF place(double x, double y, bool outside = false) {
        const QVariantList corner =
            js(QStringLiteral(
                   "(function(){var f=document.getElementById('editor').getBoundingClientRect();"
                   "var c=window.frames['editor'].document.getElementById('pagecontainer')"
                   ".getBoundingClientRect();return %1;})()")
                   .arg(outside ? "[f.left, f.top]" : "[f.left+c.left, f.top+c.top]"))
                .toList();
        return corner.size() == 2 ? QPointF(corner[0].toDouble() + x, corner[1].toDouble() + y)
                                  : QPointF();
    }

    // Saves as the bar's button does and waits for the finished page to change.
    void save(const std::string& file) {
        const std::string before = ReadFile(path(file));
        js("window.frames['controls'].runCommand('http://savepage')");
        WaitFor([&] { return ReadFile(path(file)) != before; }, 5000);
    }

    // Where the item stands in its container, as its style places it.
    QString spot(const QString& selector) {
        return js("(function(){var e=window.frames['editor'].document.querySelector(\"" + selector +
                  "\");return e?parseInt(e.style.left,10)+','+parseInt(e.style.top,10):'gone';})()")
            .toString();
    }
    // The box that carries a picture's place.
    static QString picture(const std::string& name) {
        return QStringLiteral("div[id='d%1']").arg(QString::fromStdString(name));
    }

    // A key as the focused widget gets it, through the window's shortcuts first.
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* focused = QApplication::focusWidget();
        QTest::keyClick(focused ? focused : window->browser()->focusProxy(), key, modifiers);
        QTest::qWait(150);
    }
    // A key the editor page gets itself, as it does where the window's shortcut does not
    // take it.
    void pressInPage(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* target = window->browser()->focusProxy();
        for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
            QKeyEvent event(type, key, modifiers);
            QCoreApplication::sendEvent(target, &event);
        }
        QTest::qWait(150);
    }
    bool undoneAfter(const std::function<void()>& keys) {
        return redrawnAfter(keys) && editorShown();
    }
    // One mouse event delivered where the browser takes its input, with a user's pause after
    // it unless quick (a test that then waits for the page itself).
    void sendMouse(QEvent::Type type, const QPointF& at, Qt::MouseButton button,
                   Qt::MouseButtons buttons, Pace pace = Pace::UserLike) {
        QWidget* target = window->browser()->focusProxy();
        QMouseEvent event(type, at, target->mapToGlobal(at), button, buttons, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &event);
        if (pace == Pace::UserLike) {
            QTest::qWait(30);
        }
    }

    // The window's menu entry of that caption.
    QAction& menuEntry(const char* caption) {
        for (QAction* action : window->findChildren<QAction*>()) {
            if (action->text() == caption) {
                return *action;
            }
        }
        ADD_FAILURE() << caption;
        static QAction none;
        return none;
    }

    std::string path(const std::string& name) const { return JoinPath(working, name); }

    // A page of the default site folder, in a container of the given width when one is named.
    PageRecord sitePage(const std::string& fileName, const std::string& title,
                        const std::string& width = std::string()) const {
        PageRecord page;
        page.directory = path("webpages");
        page.fileName = fileName;
        page.pageTitle = title;
        if (!width.empty()) {
            page.pageWidth = width;
            page.pageContainer = PageContainerMarkup(width, "1000");
        }
        return page;
    }

    // A page with one text section of the given words at 50,100, stored and named by the last
    // session.
    void storeOneTextPage(const std::string& fileName, const std::string& title,
                          const std::string& words, const std::string& width = std::string()) {
        PageRecord page = sitePage(fileName, title, width);
        page.stylesData =
            "<div id='pagetextitem1~' style='position:absolute;top:100px;left:50px;width:200px;"
            "border-width:1px;border-style:solid;visibility:visible'>";
        page.texts = {"pagetextitem1~<P>" + words + "</P>"};
        page.richTexts = {"{\\rtf1 " + words + "}"};
        page.textProperties = {"pagetextitem1~^#ffffff^^#008000^1px^NOJUSTIFY"};
        page.elementCount = 1;
        store(page, true);
    }

    // A full-screen page showing the installed logo alone, as picture 9 at the place and size
    // given.
    PageRecord logoPage(const std::string& fileName, int left, int top, int width,
                        int height) const {
        PageRecord page = sitePage(fileName, fileName);
        page.stylesData =
            "<div id='dpageimageitem9~' style='position:absolute;top:" + std::to_string(top) +
            "px;left:" + std::to_string(left) + "px;background:transparent;Z-INDEX:1'>^" +
            std::to_string(width) + "^" + std::to_string(height);
        page.pictures = {"pageimageitem9~" + path("webpages/quillora-logo.gif")};
        page.links = {""};
        page.elementCount = 1;
        return page;
    }

    // A page in an 800-pixel container with a text section of the words at 50,100 and the
    // installed logo at 136,300.
    PageRecord textAndPicturePage(const std::string& fileName, const std::string& words) const {
        PageRecord page = sitePage(fileName, words, "800");
        page.stylesData =
            "<div id='pagetextitem1~' style='position:absolute;top:100px;left:50px;width:200px;"
            "border-width:1px;border-style:solid;visibility:visible'>|<div "
            "id='dpageimageitem7~' style='position:absolute;top:300px;left:136px;"
            "background:transparent;Z-INDEX:1'>^160^60";
        page.texts = {"pagetextitem1~<P>" + words + "</P>"};
        page.richTexts = {"{\\rtf1 " + words + "}"};
        page.textProperties = {"pagetextitem1~^#ffffff^^#008000^1px^NOJUSTIFY"};
        page.pictures = {"pageimageitem7~" + path("webpages/quillora-logo.gif")};
        page.links = {""};
        page.elementCount = 1;
        return page;
    }

    // Stores the page and makes its file, as a save would; the last session names it when
    // asked to.
    void store(const PageRecord& page, bool lastSession = false) {
        SqliteDatabase db;
        db.open(path("quilldata.db"));
        PageStore pages(db, prompts);
        ASSERT_TRUE(pages.savePage(page));
        WriteFile(JoinPath(page.directory, page.fileName), "<html></html>");
        if (lastSession) {
            WriteFile(path("lastsession.qlp"), page.directory + "|" + page.fileName);
        }
    }

    // The first column of the first row the query gives; empty when none.
    std::string stored(const std::string& sql) {
        SqliteDatabase db;
        db.open(path("quilldata.db"));
        SqliteCursor row = db.runQuery(sql);
        return row.atEnd() ? std::string() : row.textValue(0);
    }

    TempFolder home;
    std::string working;
    std::vector<std::string> problems;
    FakePrompts prompts;
    FakeShell shell;
    std::unique_ptr<MainView> window;
    int loads = 0;
};
