#include "shell/phone_preview.h"

#include <QLabel>
#include <QUrl>
#include <QVBoxLayout>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>

namespace {

// The preview shows its own page only: a link clicked in it goes nowhere.
class PreviewPage : public QWebEnginePage {
  public:
    using QWebEnginePage::QWebEnginePage;

  protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType, bool isMainFrame) override {
        return !isMainFrame || url.isLocalFile();
    }
};

}  // namespace

PhonePreview::PhonePreview(QWidget* parent) : QWidget(parent, Qt::Window) {
    setWindowTitle(QStringLiteral("Phone preview"));
    setObjectName(QStringLiteral("phonePreview"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    view_ = new QWebEngineView(this);
    view_->setObjectName(QStringLiteral("phoneView"));
    // Off the record, like the designer's own browser: nothing is kept on disk.
    auto* profile = new QWebEngineProfile(view_);
    view_->setPage(new PreviewPage(profile, view_));
    view_->setFixedSize(kWidth, kHeight);
    note_ = new QLabel(
        QStringLiteral("Phone-friendly pages are off for this site folder: a phone shows the "
                       "page as designed, scaled down or scrolled sideways. Page > Site Options "
                       "turns them on."),
        this);
    note_->setObjectName(QStringLiteral("phoneNote"));
    note_->setWordWrap(true);
    note_->setMaximumWidth(kWidth);
    note_->hide();
    layout->addWidget(note_);
    layout->addWidget(view_);
    connect(view_, &QWebEngineView::loadFinished, this, [this](bool) {
        view_->page()->runJavaScript(
            QStringLiteral("window.scrollTo(%1,%2)").arg(keptScroll_.x()).arg(keptScroll_.y()));
    });
}

void PhonePreview::showSwitch(bool phoneFriendly) {
    note_->setVisible(!phoneFriendly);
}

void PhonePreview::showPage(const QString& path) {
    keptScroll_ = view_->page()->scrollPosition();
    const QUrl address = QUrl::fromLocalFile(path);
    if (view_->url() == address) {
        view_->reload();
    } else {
        view_->load(address);
    }
}
