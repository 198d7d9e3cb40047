// Starts the program's window offscreen on a fresh home folder and reports, in milliseconds:
// the time from start to the welcome page and to the editor page shown (the user resuming at
// once; goal for 2,000 items: at most 1 s), and for pages of 10, 200 and 2,000 items the median
// time from a command to the redrawn page (goal: at most 40 ms at 200 items, 100 ms at 2,000):
// a container change and an undo, and on the larger pages adding a picture, nudging, duplicating
// and deleting a section; and the drag script's mouse-move handler with its guides, per move
// (goal: at most 4 ms at the median, one 60 Hz frame with room to spare). A redrawn page is one
// loaded, or brought up to date in place and painted. Then, through the program's
// own dialogs answered with keys after a user's look about them: an add from Return in the
// Open dialog to the page shown with the picture (goal: at most 300 ms), for the logo and a
// camera's photo, and from Escape in the Open or colour dialog to the page answering a script
// again (goal: at most 100 ms). And the switch between the desktop and the phone view on the
// 200-item page, each way (goal: under 150 ms).
#include <unistd.h>

#include <QApplication>
#include <QColorDialog>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QImage>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "bench_pages.h"
#include "common/paths.h"
#include "common/working_folder.h"
#include "platform/console_prompts.h"
#include "setup/working_folder_setup.h"
#include "shell/installed_files.h"
#include "shell/main_view.h"
#include "shell/qt_ports.h"
#include "store/db/sqlite_database.h"
#include "store/page_store.h"

namespace {

class NoShell : public Shell {
  public:
    void open(const std::string&) override {}
};

// Answers every file dialog with the same picture.
class PicturePrompts : public ConsolePrompts {
  public:
    PicturePrompts(std::ostream& out, std::string picture)
        : ConsolePrompts(out), picture_(std::move(picture)) {}
    std::optional<std::string> openFileName(const OpenFileRequest&) override { return picture_; }

  private:
    std::string picture_;
};

bool WaitFor(const std::function<bool()>& condition, int timeoutMs = 30000) {
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > timeoutMs) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

class Session {
  public:
    Session(const std::string& working, Prompts& prompts, Shell& shell)
        : window(std::make_unique<MainView>(working, MainViewPorts{prompts, shell})) {
        window->resize(1200, 800);
        window->show();
        QObject::connect(window->browser()->page(), &QWebEnginePage::loadFinished,
                         [this](bool) { ++loads; });
    }
    // The script's value in the shown page.
    QVariant run(const QString& script) {
        QVariant result;
        bool done = false;
        window->browser()->page()->runJavaScript(script, [&](const QVariant& value) {
            result = value;
            done = true;
        });
        WaitFor([&] { return done; });
        return result;
    }
    // Runs the script in the shown page and waits until the page has been redrawn: the next
    // page loaded, or the editor page brought up to date in place. For a page brought up to
    // date, the time from the call to the next frame drawn after it goes into `frames`.
    bool loadAfter(const QString& script) {
        QElapsedTimer clock;
        clock.start();
        const int before = loads;
        const QString version = editorVersion();
        window->browser()->page()->runJavaScript(script);
        const bool redrawn = WaitFor([&] {
            if (loads > before) {
                return true;
            }
            const QString now = editorVersion();
            return now != version && !now.isEmpty() && now != QLatin1String("undefined");
        });
        redrawnMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
        if (redrawn && loads == before) {
            run(
                QStringLiteral("(function(){var e=window.frames['editor'];e.benchDrawn=false;"
                               "e.requestAnimationFrame(function(){e.setTimeout("
                               "function(){e.benchDrawn=true;},0);});})()"));
            WaitFor(
                [&] { return run(QStringLiteral("window.frames['editor'].benchDrawn")).toBool(); });
            frames.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
        }
        return redrawn;
    }
    QString editorVersion() {
        return run(QStringLiteral("(function(){var e=window.frames['editor'];"
                                  "return e&&e.dd?String(e.dd.version):'';})()"))
            .toString();
    }
    std::unique_ptr<MainView> window;
    int loads = 0;
    std::vector<double> frames;
    // The time the last loadAfter took to its redrawn page.
    double redrawnMs = 0;
};

void StorePage(const std::string& working, int items, Prompts& prompts) {
    SqliteDatabase db;
    db.open(JoinPath(working, "quilldata.db"));
    PageStore store(db, prompts);
    PageRecord page = PageWithItems(items);
    page.directory = JoinPath(working, "webpages");
    page.fileName = "bench" + std::to_string(items) + ".html";
    for (std::string& picture : page.pictures) {
        picture = picture.substr(0, picture.find('~') + 1) +
                  JoinPath(page.directory, "quillora-logo.gif");
    }
    store.savePage(page);
    std::filesystem::path file(JoinPath(page.directory, page.fileName));
    std::FILE* out = std::fopen(file.c_str(), "w");
    if (out != nullptr) {
        std::fclose(out);
    }
    std::FILE* last = std::fopen(JoinPath(working, "lastsession.qlp").c_str(), "w");
    if (last != nullptr) {
        std::fputs((page.directory + "|" + page.fileName).c_str(), last);
        std::fclose(last);
    }
}

const QString kResume = QStringLiteral("document.getElementById('resume').click()");

// A section grabbed and moved 300 times in the editor page, each mouse-move handled while
// timed; the median, least and most time of one move, in milliseconds.
const QString kDragMoves = QStringLiteral(R"((function(){
var e = window.frames['editor'], d = e.document;
var item = d.querySelector("div[id^='pagetextitem']");
var box = item.getBoundingClientRect();
var x = box.left + 5, y = box.top + 5;
item.dispatchEvent(new e.MouseEvent('mousedown', {bubbles: true, clientX: x, clientY: y, button: 0}));
var times = [];
for (var i = 1; i <= 300; i++) {
  var move = new e.MouseEvent('mousemove', {bubbles: true, clientX: x + i % 150, clientY: y + i % 40,
    buttons: 1});
  var start = e.performance.now();
  d.dispatchEvent(move);
  times.push(e.performance.now() - start);
}
d.dispatchEvent(new e.MouseEvent('mouseup', {bubbles: true, clientX: x, clientY: y}));
times.sort(function (a, b) { return a - b; });
return [times[150], times[0], times[299]];
})())");

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void PrintTimes(const char* what, const std::vector<double>& times) {
    std::printf("%s median %.1f ms (min %.1f, max %.1f)\n", what, Median(times),
                *std::min_element(times.begin(), times.end()),
                *std::max_element(times.begin(), times.end()));
}

// A user looks about a dialog for a while before answering it: long enough for the program's
// timers that follow a change (the recovery file's, 2 s) to come due while it is open.
constexpr int kThinkingMs = 2500;

// When the next modal dialog has been up for the thinking time, starts the clock and answers
// it with keys as a user does: the picture's path typed into a file dialog, or Escape.
void AnswerNextDialog(QElapsedTimer& clock, const QString& picture) {
    auto* timer = new QTimer();
    auto shown = std::make_shared<QElapsedTimer>();
    QObject::connect(timer, &QTimer::timeout, [timer, shown, &clock, picture] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (dialog == nullptr) {
            return;
        }
        if (!shown->isValid()) {
            shown->start();
        }
        if (shown->elapsed() < kThinkingMs) {
            return;
        }
        timer->stop();
        timer->deleteLater();
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        if (!picture.isEmpty() && name != nullptr) {
            name->setText(picture);
            clock.start();
            QTest::keyClick(name, Qt::Key_Return);
        } else {
            clock.start();
            QTest::keyClick(dialog, Qt::Key_Escape);
        }
    });
    timer->start(20);
}

const QString kAddPicture = QStringLiteral(
    "(function(){var e=window.frames['editor'];e.openMenu(300,200,true);e.addGraphic();})()");
const QString kBackgroundColour = QStringLiteral(
    "(function(){var e=window.frames['editor'];e.openMenu(300,200,true);"
    "e.backgroundColor();})()");

// A photo as a camera takes it: 4000 by 3000 pixels of detail, some megabytes of JPEG.
QString CameraPhoto(const std::string& folder) {
    QImage photo(4000, 3000, QImage::Format_RGB32);
    for (int y = 0; y < photo.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(photo.scanLine(y));
        for (int x = 0; x < photo.width(); ++x) {
            const unsigned noise =
                (static_cast<unsigned>(x) * 2654435761U) ^ (static_cast<unsigned>(y) * 40503U);
            line[x] = qRgb(x % 256, (y + static_cast<int>(noise >> 24)) % 256,
                           static_cast<int>(noise >> 16) % 256);
        }
    }
    const QString path = QString::fromStdString(JoinPath(folder, "camera/IMG_0001.JPG"));
    std::filesystem::create_directories(JoinPath(folder, "camera"));
    photo.save(path, "JPEG", 95);
    return path;
}

// Through the program's own dialogs: from Return in the Open dialog to the page shown with the
// picture, and from Escape in the Open or colour dialog to the page answering a script again.
void TimeDialogs(const std::string& working, Shell& shell) {
    QtPrompts prompts;
    Session session(working, prompts, shell);
    prompts.setOwner(session.window.get());
    WaitFor([&] { return session.loads > 0; });
    session.loadAfter(kResume);
    const QString photo = CameraPhoto(working);
    std::printf("camera photo: %lld bytes\n",
                static_cast<long long>(std::filesystem::file_size(photo.toStdString())));
    for (const QString& picture :
         {QString::fromStdString(JoinPath(working, "webpages/quillora-logo.gif")), photo}) {
        std::vector<double> adds;
        for (int run = 0; run < 5; ++run) {
            QElapsedTimer add;
            AnswerNextDialog(add, picture);
            session.loadAfter(kAddPicture);
            adds.push_back(static_cast<double>(add.nsecsElapsed()) / 1e6);
        }
        PrintTimes(
            picture == photo
                ? "200 items: add camera photo through the Open dialog, Return to redrawn page"
                : "200 items: add logo through the Open dialog, Return to redrawn page",
            adds);
    }
    for (const QString& dialog : {kAddPicture, kBackgroundColour}) {
        std::vector<double> cancels;
        for (int run = 0; run < 5; ++run) {
            QElapsedTimer cancel;
            AnswerNextDialog(cancel, QString());
            session.window->browser()->page()->runJavaScript(dialog);
            WaitFor([&] { return cancel.isValid(); });
            session.run(QStringLiteral("window.frames['editor'].document.readyState"));
            cancels.push_back(static_cast<double>(cancel.nsecsElapsed()) / 1e6);
            QTest::qWait(50);
        }
        PrintTimes(dialog == kAddPicture
                       ? "200 items: Open dialog cancelled, Escape to the page answering"
                       : "200 items: colour dialog cancelled, Escape to the page answering",
                   cancels);
    }
}

}  // namespace

// Commands timed to the redrawn page, and for those that brought the page up to date in place,
// to the next frame drawn after.
struct Redraws {
    std::vector<double> times;
    std::vector<double> frames;
    // The time the last loadAfter took to its redrawn page.
    double redrawnMs = 0;
};

void TimeRedraw(Session& session, const QString& script, Redraws& redraws) {
    session.frames.clear();
    session.loadAfter(script);
    redraws.times.push_back(session.redrawnMs);
    redraws.frames.insert(redraws.frames.end(), session.frames.begin(), session.frames.end());
}

void PrintSized(int items, const char* what, const Redraws& redraws) {
    const std::vector<double>& times = redraws.times;
    const std::vector<double>& frames = redraws.frames;
    std::printf("%4d items: %s median %.1f ms (min %.1f, max %.1f)", items, what, Median(times),
                *std::min_element(times.begin(), times.end()),
                *std::max_element(times.begin(), times.end()));
    if (!frames.empty()) {
        std::printf("; next frame drawn at median %.1f ms", Median(frames));
    }
    std::printf("\n");
}

// The commands on selected items: a section nudged with an arrow key (a step of undo, the page
// already showing it: from the key to the command's end), duplicated, and the copy deleted
// with the Delete key (from the key or command to the redrawn page).
void TimeItemCommands(Session& session, int items) {
    const QString select = QStringLiteral(
        "(function(){var e=window.frames['editor'];e.ddSelect(e.dd.elements.filter("
        "function(r){return r.name.indexOf('pagetextitem')===0;})[0]);})()");
    const auto key = [](const char* name) {
        return QStringLiteral(
                   "(function(){var e=window.frames['editor'];"
                   "e.ddKey(new e.KeyboardEvent('keydown',{key:'%1'}));})()")
            .arg(QLatin1String(name));
    };
    Redraws nudges;
    Redraws duplicates;
    Redraws deletes;
    for (int run = 0; run < 9; ++run) {
        session.run(select);
        QElapsedTimer nudge;
        nudge.start();
        session.run(key(run % 2 == 0 ? "ArrowRight" : "ArrowLeft"));
        nudges.times.push_back(static_cast<double>(nudge.nsecsElapsed()) / 1e6);
        session.run(select);
        TimeRedraw(session, QStringLiteral("window.frames['editor'].ddItemCommand('duplicate')"),
                   duplicates);
        TimeRedraw(session, key("Delete"), deletes);
    }
    PrintSized(items, "nudge to the command's end", nudges);
    PrintSized(items, "duplicate to redrawn page", duplicates);
    PrintSized(items, "delete to redrawn page", deletes);
}

// The bar's Phone button, from its click to the phone view loaded (with the page in its
// frame) and back to the editor page loaded (goal: under 150 ms each way).
void TimePhoneViewSwitch(Session& session) {
    auto* button = session.window->findChild<QToolButton*>(QStringLiteral("phoneViewButton"));
    if (button == nullptr) {
        return;
    }
    std::vector<double> toPhone;
    std::vector<double> toDesktop;
    for (int run = 0; run < 15; ++run) {
        for (std::vector<double>* times : {&toPhone, &toDesktop}) {
            const int before = session.loads;
            QElapsedTimer clock;
            clock.start();
            button->click();
            WaitFor([&] { return session.loads > before; });
            times->push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
        }
    }
    PrintTimes("200 items: desktop to phone view", toPhone);
    PrintTimes("200 items: phone view to desktop", toDesktop);
}

// Real input on the page, as a user gives it: mouse events and keys delivered where the browser
// takes them, each timed from the event to the next frame drawn after the page took it
// (goal: at most 100 ms each on 2,000 items). A picture added from the add menu (two clicks);
// a section dragged (from the release); the first undo after that drag, and a redo (keys).
void TimeRealInput(Session& session, int items) {
    QWidget* target = session.window->browser()->focusProxy();
    const auto mouse = [&](QEvent::Type type, const QPointF& at, Qt::MouseButton button,
                           Qt::MouseButtons buttons) {
        QMouseEvent event(type, at, target->mapToGlobal(at), button, buttons, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &event);
    };
    const auto at = [&](const QString& what) {
        const QVariantList point =
            session
                .run(
                    "(function(){var f=document.getElementById('editor')"
                    ".getBoundingClientRect();var e=window.frames['editor'];" +
                    what + "})()")
                .toList();
        return point.size() == 2 ? QPointF(point[0].toDouble(), point[1].toDouble()) : QPointF();
    };
    // From the clock's start to the page redrawn (when it is) and the next frame drawn.
    const auto drawn = [&](QElapsedTimer& clock, const QString& version, int loads,
                           bool redraws = true) {
        WaitFor(
            [&] {
                if (session.loads > loads) {
                    return true;
                }
                const QString now = session.editorVersion();
                return !redraws ||
                       (now != version && !now.isEmpty() && now != QLatin1String("undefined"));
            },
            2000);
        session.run(
            QStringLiteral("(function(){var e=window.frames['editor'];e.benchDrawn=false;"
                           "e.requestAnimationFrame(function(){e.setTimeout("
                           "function(){e.benchDrawn=true;},0);});})()"));
        WaitFor([&] {
            return session.run(QStringLiteral("window.frames['editor'].benchDrawn")).toBool();
        });
        return static_cast<double>(clock.nsecsElapsed()) / 1e6;
    };
    const QString section = QStringLiteral(
        "var r=e.document.querySelector(\"div[id^='pagetextitem']\").getBoundingClientRect();"
        "return [f.left+r.left+5,f.top+r.top+5];");
    std::vector<double> adds;
    std::vector<double> drags;
    std::vector<double> undos;
    std::vector<double> redos;
    for (int run = 0; run < 5; ++run) {
        // The add menu opened on empty space of the container, then its picture entry.
        const QPointF empty =
            at(QStringLiteral("var c=e.document.getElementById('pagecontainer')"
                              ".getBoundingClientRect();return [f.left+c.left+785,f.top+c.top+%1];")
                   .arg(95 + run * 100));
        mouse(QEvent::MouseMove, empty, Qt::NoButton, Qt::NoButton);
        mouse(QEvent::MouseButtonPress, empty, Qt::LeftButton, Qt::LeftButton);
        mouse(QEvent::MouseButtonRelease, empty, Qt::LeftButton, Qt::NoButton);
        QTest::qWait(100);
        const QPointF entry = empty + QPointF(56, 22);
        QString version = session.editorVersion();
        int loads = session.loads;
        QElapsedTimer clock;
        clock.start();
        mouse(QEvent::MouseMove, entry, Qt::NoButton, Qt::NoButton);
        mouse(QEvent::MouseButtonPress, entry, Qt::LeftButton, Qt::LeftButton);
        mouse(QEvent::MouseButtonRelease, entry, Qt::LeftButton, Qt::NoButton);
        adds.push_back(drawn(clock, version, loads));

        const QPointF from = at(section);
        mouse(QEvent::MouseMove, from, Qt::NoButton, Qt::NoButton);
        mouse(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
        for (int step = 1; step <= 5; ++step) {
            mouse(QEvent::MouseMove, from + QPointF(8 * step, 4 * step), Qt::NoButton,
                  Qt::LeftButton);
            QTest::qWait(10);
        }
        version = session.editorVersion();
        loads = session.loads;
        clock.start();
        mouse(QEvent::MouseButtonRelease, from + QPointF(40, 20), Qt::LeftButton, Qt::NoButton);
        drags.push_back(drawn(clock, version, loads, false));

        target->setFocus();
        for (auto* times : {&undos, &redos}) {
            version = session.editorVersion();
            loads = session.loads;
            clock.start();
            QTest::keyClick(
                QApplication::focusWidget() ? QApplication::focusWidget() : target, Qt::Key_Z,
                times == &undos ? Qt::ControlModifier : Qt::ControlModifier | Qt::ShiftModifier);
            times->push_back(drawn(clock, version, loads));
        }
    }
    std::printf(
        "%4d items, real input to the next frame drawn: add picture median %.1f ms, drag "
        "%.1f, first undo after the drag %.1f, redo %.1f\n",
        items, Median(adds), Median(drags), Median(undos), Median(redos));
}

int main(int argc, char** argv) {
    // Offscreen unless a display is named (xvfb-run -e QT_QPA_PLATFORM=xcb ... for X's path).
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    const std::filesystem::path home = std::filesystem::temp_directory_path() /
                                       ("quillora-window-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(home);
    setenv("HOME", home.c_str(), 1);
    const std::string working = DefaultWorkingFolder();
    ConsolePrompts prompts(std::cerr);
    NoShell shell;
    // QUILLORA_BENCH_INPUT=1: only real input on the 2,000-item page.
    const bool inputOnly = !qEnvironmentVariableIsEmpty("QUILLORA_BENCH_INPUT");

    QElapsedTimer clock;
    clock.start();
    SetUpWorkingFolder(working, InstalledFiles(), SystemDictionaryFolder(), prompts);
    double welcome = 0;
    {
        Session session(working, prompts, shell);
        WaitFor([&] { return session.loads > 0; });
        welcome = static_cast<double>(clock.elapsed());
        session.loadAfter(kResume);
        const double editor = static_cast<double>(clock.elapsed());
        std::printf("first start: welcome page %.0f ms, editor page %.0f ms\n", welcome, editor);
    }
    // The add menu's picture entry is answered with the installation's logo each time.
    PicturePrompts pictures(std::cerr, JoinPath(working, "webpages/quillora-logo.gif"));
    for (const int items : {10, 200, 2000}) {
        if (inputOnly && items != 2000) {
            continue;
        }
        StorePage(working, items, prompts);
        clock.restart();
        Session session(working, pictures, shell);
        WaitFor([&] { return session.loads > 0; });
        welcome = static_cast<double>(clock.elapsed());
        session.loadAfter(kResume);
        const double editor = static_cast<double>(clock.elapsed());
        if (inputOnly) {
            TimeRealInput(session, items);
            break;
        }
        Redraws redraws;
        for (int run = 0; run < 15; ++run) {
            const QString command = run % 2 == 0 ? QStringLiteral("http://pagecontainer1")
                                                 : QStringLiteral("http://pagecontainer2");
            TimeRedraw(session, "window.frames['controls'].runCommand('" + command + "')", redraws);
        }
        // Undo of the last container change, from the key's command to the redrawn page.
        Redraws undos;
        for (int run = 0; run < 15; ++run) {
            session.loadAfter("window.frames['controls'].runCommand('http://pagecontainer" +
                              QString::number(1 + run % 2) + "')");
            TimeRedraw(session,
                       "(function(){var e=window.frames['editor'];"
                       "e.loadStylesData();e.hostNavigate('http://undo');})()",
                       undos);
        }
        std::printf("%4d items: start to welcome %.0f ms, to editor page %.0f ms\n", items, welcome,
                    editor);
        PrintSized(items, "container redraw", redraws);
        PrintSized(items, "undo to redrawn page", undos);
        if (items == 10) {
            continue;
        }
        Redraws adds;
        for (int run = 0; run < 5; ++run) {
            TimeRedraw(session, kAddPicture, adds);
        }
        PrintSized(items, "add picture to redrawn page", adds);
        TimeRealInput(session, items);
        TimeItemCommands(session, items);
        const QVariantList moves = session.run(kDragMoves).toList();
        if (moves.size() == 3) {
            std::printf(
                "%4d items: drag move handler with guides median %.2f ms (min %.2f, max "
                "%.2f), 300 moves\n",
                items, moves[0].toDouble(), moves[1].toDouble(), moves[2].toDouble());
        }
        if (items == 200) {
            TimePhoneViewSwitch(session);
        }
    }
    if (inputOnly) {
        std::filesystem::remove_all(home);
        return 0;
    }
    // The dialogs on the 200-item page.
    StorePage(working, 200, prompts);
    TimeDialogs(working, shell);
    std::filesystem::remove_all(home);
    return 0;
}
