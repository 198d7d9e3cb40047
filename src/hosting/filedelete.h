#pragma once

#include <QDialog>
#include <QUrl>
#include <functional>
#include <string>

class QWebEngineView;

// The hosting folder's files as the servlet lists them, in a browser of its own; every address
// the browser is sent to is told to the program, and delete links go through as well.
class filedelete : public QDialog {
    Q_OBJECT

  public:
    filedelete(const QUrl& connecting, const QUrl& listing,
               std::function<void(const std::string&)> navigated, QWidget* parent);

    QWebEngineView* browser() const { return view_; }

  private:
    QWebEngineView* view_;
};
