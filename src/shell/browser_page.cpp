#include "shell/browser_page.h"

#include <QFile>
#include <QTimer>
#include <QWebEngineLoadingInfo>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>

#include "designer/command_dispatcher.h"
#include "platform/clipboard.h"

namespace {

QWebEngineScript CompatibilityScript() {
    QFile file(QStringLiteral(":/resources/browser/compat.js"));
    file.open(QIODevice::ReadOnly);
    QWebEngineScript script;
    script.setName(QStringLiteral("quillora-compatibility"));
    script.setSourceCode(QString::fromUtf8(file.readAll()));
    script.setInjectionPoint(QWebEngineScript::DocumentCreation);
    script.setWorldId(QWebEngineScript::MainWorld);
    script.setRunsOnSubFrames(true);
    return script;
}

}  // namespace

BrowserPage::BrowserPage(QWebEngineProfile* profile, Clipboard& clipboard, QObject* parent)
    : QWebEnginePage(profile, parent), clipboard_(clipboard) {
    scripts().insert(CompatibilityScript());
    settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, true);
    settings()->setAttribute(QWebEngineSettings::JavascriptCanAccessClipboard, false);
    // A failed load resumes the last page; Chromium's own error page would flash up first.
    settings()->setAttribute(QWebEngineSettings::ErrorPageEnabled, false);
    connect(this, &QWebEnginePage::loadingChanged, this, &BrowserPage::onLoadingChanged);
}

bool BrowserPage::javaScriptPrompt(const QUrl& securityOrigin, const QString& message,
                                   const QString& defaultValue, QString* result) {
    // The channel answers the program's own pages only: a frame of another origin inside
    // them, or any other page, gets no answer and reaches no command.
    const bool ours =
        securityOrigin.scheme() == QLatin1String("file") && allowed_ &&
        !url().scheme().startsWith(QLatin1String("javascript"), Qt::CaseInsensitive) &&
        allowed_(BrowserAddress(url().toString().toStdString()));
    if (message.startsWith(QLatin1String("quillora:")) && !ours) {
        *result = QString();
        return false;
    }
    if (message == QLatin1String("quillora:navigate")) {
        const std::string address = BrowserAddress(defaultValue.toStdString());
        ++waiting_;
        const bool cancel = handler_ ? handler_(address) : true;
        --waiting_;
        *result = cancel ? QStringLiteral("cancel") : QStringLiteral("allow");
        return true;
    }
    if (message == QLatin1String("quillora:clipboard-set")) {
        clipboard_.setText(defaultValue.toStdString());
        *result = QString();
        return true;
    }
    if (message == QLatin1String("quillora:clipboard-get")) {
        *result = QString::fromStdString(clipboard_.text());
        return true;
    }
    return QWebEnginePage::javaScriptPrompt(securityOrigin, message, defaultValue, result);
}

// Page scripts ask before they navigate; whatever reaches the browser another way may load
// only when it is one of the program's own pages.
bool BrowserPage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool) {
    if (type == NavigationTypeTyped || type == NavigationTypeReload) {
        return true;
    }
    const std::string address = BrowserAddress(url.toString().toStdString());
    return allowed_ && allowed_(address);
}

void BrowserPage::onLoadingChanged(const QWebEngineLoadingInfo& info) {
    if (info.status() != QWebEngineLoadingInfo::LoadFailedStatus) {
        return;
    }
    // A load the program or a script broke off is no failure.
    constexpr int kAborted = -3;
    if (info.errorCode() == kAborted) {
        return;
    }
    // Changing the page from inside the load's own notification is not safe.
    QTimer::singleShot(0, this, [this] { emit navigationFailed(); });
}
