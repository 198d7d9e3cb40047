#pragma once

#include <QWebEnginePage>
#include <functional>
#include <string>

class Clipboard;

// The page of the embedded browser. Page scripts reach the program through window.prompt (see
// the compatibility script): navigations are handed to the navigation handler before anything
// loads, and the clipboard is read and written through the Clipboard port. A load that the
// program allowed and that then fails is reported as navigationFailed.
class BrowserPage : public QWebEnginePage {
    Q_OBJECT

  public:
    // Answers whether the browser must not load the address (true cancels).
    using NavigationHandler = std::function<bool(const std::string& address)>;
    // Answers whether the address is one of the program's own pages.
    using AllowedCheck = std::function<bool(const std::string& address)>;

    BrowserPage(QWebEngineProfile* profile, Clipboard& clipboard, QObject* parent);

    void setNavigationHandler(NavigationHandler handler) { handler_ = std::move(handler); }
    void setAllowedCheck(AllowedCheck check) { allowed_ = std::move(check); }
    // True while a page script waits for the program's answer to a navigation: the page runs
    // no other script until the answer is given, whatever dialog the program shows meanwhile.
    bool waitingForTheProgram() const { return waiting_ > 0; }

  signals:
    void navigationFailed();

  protected:
    bool javaScriptPrompt(const QUrl& securityOrigin, const QString& message,
                          const QString& defaultValue, QString* result) override;
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;

  private:
    void onLoadingChanged(const QWebEngineLoadingInfo& info);

    Clipboard& clipboard_;
    NavigationHandler handler_;
    AllowedCheck allowed_;
    int waiting_ = 0;
};
