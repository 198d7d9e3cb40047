#pragma once

#include <QPointF>
#include <QString>
#include <QWidget>

class QWebEngineView;

// A window that shows a page as a phone of 375 by 667 CSS pixels would: a browser of that size,
// scrolling, reloaded whenever the page changes, at the place the user scrolled to.
class QLabel;

class PhonePreview : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kWidth = 375;
    static constexpr int kHeight = 667;

    explicit PhonePreview(QWidget* parent);

    void showPage(const QString& path);
    // Without the site folder's phone switch, a note says how a phone shows the page and how
    // to turn the switch on.
    void showSwitch(bool phoneFriendly);
    QWebEngineView* view() const { return view_; }

  private:
    QWebEngineView* view_;
    QLabel* note_;
    // Where the user had scrolled to before the page was reloaded.
    QPointF keptScroll_;
};
