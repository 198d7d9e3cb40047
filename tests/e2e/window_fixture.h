#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
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
#include "store/db/sqlite_database.h"
#include "store/page_store.h"
#include "support/fake_ports.h"
#include "support/temp_folder.h"

// The program's window on a temporary home folder, with the real browser. Only the answers to
// dialogs and the user's own browser are scripted.
class WindowFixture : public ::testing::Test {
  protected:
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

    // Runs the action and waits until the browser has loaded a page after it.
    bool reloadsAfter(const std::function<void()>& action) {
        const int before = loads;
        action();
        return WaitFor([&] { return loads > before; });
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
               reloadsAfter([&] { js("document.getElementById('resume').click()"); }) &&
               editorShown();
    }

    // Runs a command of the controls page as its buttons do.
    bool controlsCommand(const QString& address) {
        return reloadsAfter([&] { js("window.frames['controls'].runCommand('" + address + "')"); });
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
    void drag(const QPointF& from, const QPointF& by) {
        sendMouse(QEvent::MouseMove, from, Qt::NoButton, Qt::NoButton);
        sendMouse(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
        for (int step = 1; step <= 5; ++step) {
            sendMouse(QEvent::MouseMove, from + by * step / 5.0, Qt::NoButton, Qt::LeftButton);
        }
        sendMouse(QEvent::MouseButtonRelease, from + by, Qt::LeftButton, Qt::NoButton);
        QTest::qWait(100);
    }

    // A click as a user makes it, at a point of the browser.
    void click(const QPointF& at) {
        sendMouse(QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton);
        sendMouse(QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
        sendMouse(QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
        QTest::qWait(100);
    }

    // One mouse event delivered where the browser takes its input.
    void sendMouse(QEvent::Type type, const QPointF& at, Qt::MouseButton button,
                   Qt::MouseButtons buttons) {
        QWidget* target = window->browser()->focusProxy();
        QMouseEvent event(type, at, target->mapToGlobal(at), button, buttons, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &event);
        QTest::qWait(30);
    }

    std::string path(const std::string& name) const { return JoinPath(working, name); }

    TempFolder home;
    std::string working;
    std::vector<std::string> problems;
    FakePrompts prompts;
    FakeShell shell;
    std::unique_ptr<MainView> window;
    int loads = 0;
};
