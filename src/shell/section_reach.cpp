#include "shell/section_reach.h"

#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTimer>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <memory>

namespace {

constexpr int kDesktopWidth = 1280;
constexpr int kDesktopHeight = 900;
constexpr int kWaitMs = 15000;

// Where each section's words end, taller or wider than its box when they overflow it, against
// the boxes of the other items; a box inside the section (or holding it) does not count.
constexpr const char* kReachScript = R"JS(
(function () {
    var items = Array.prototype.filter.call(document.querySelectorAll('div[id]'), function (d) {
        return /^(pagetextitem|dpageimageitem)/.test(d.id);
    });
    var reach = {};
    items.forEach(function (section) {
        if (section.id.indexOf('pagetextitem') !== 0) {
            return;
        }
        var box = section.getBoundingClientRect();
        var right = box.left + Math.max(section.scrollWidth, box.width);
        var bottom = box.top + Math.max(section.scrollHeight, box.height);
        reach[section.id] = items.filter(function (other) {
            if (other === section || section.contains(other) || other.contains(section)) {
                return false;
            }
            var r = other.getBoundingClientRect();
            return r.width > 0 && r.height > 0 && r.left < right - 1 && r.right > box.left + 1 &&
                r.top < bottom - 1 && r.bottom > box.top + 1;
        }).map(function (other) { return other.id; });
    });
    return JSON.stringify(reach);
})()
)JS";

}  // namespace

std::optional<std::map<std::string, std::vector<std::string>>> MeasureSectionReach(
    const std::string& pageFile) {
    QWebEngineView view;
    view.setAttribute(Qt::WA_DontShowOnScreen);
    view.resize(kDesktopWidth, kDesktopHeight);
    view.show();
    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    bool loaded = false;
    QObject::connect(&view, &QWebEngineView::loadFinished, &loop, [&](bool ok) {
        loaded = ok;
        loop.quit();
    });
    deadline.start(kWaitMs);
    view.load(QUrl::fromLocalFile(QString::fromStdString(pageFile)));
    loop.exec();
    if (!loaded) {
        return std::nullopt;
    }
    auto answer = std::make_shared<QString>();
    auto arrived = std::make_shared<bool>(false);
    view.page()->runJavaScript(QString::fromUtf8(kReachScript),
                               [answer, arrived, &loop](const QVariant& result) {
                                   *answer = result.toString();
                                   *arrived = true;
                                   loop.quit();
                               });
    if (!*arrived) {
        deadline.start(kWaitMs);
        loop.exec();
    }
    if (!*arrived) {
        return std::nullopt;
    }
    const QJsonObject reach = QJsonDocument::fromJson(answer->toUtf8()).object();
    std::map<std::string, std::vector<std::string>> measured;
    for (auto section = reach.begin(); section != reach.end(); ++section) {
        std::vector<std::string>& others = measured[section.key().toStdString()];
        for (const QJsonValue& other : section.value().toArray()) {
            others.push_back(other.toString().toStdString());
        }
    }
    return measured;
}
