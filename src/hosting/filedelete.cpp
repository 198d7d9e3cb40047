#include "hosting/filedelete.h"

#include <QVBoxLayout>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>
#include <utility>

#include "ui/picture_button.h"

namespace {

// Tells the program each navigation and lets it go on.
class ListingPage : public QWebEnginePage {
  public:
    ListingPage(QWebEngineProfile* profile, std::function<void(const std::string&)> navigated,
                QObject* parent)
        : QWebEnginePage(profile, parent), navigated_(std::move(navigated)) {}

  protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType, bool isMainFrame) override {
        if (isMainFrame) {
            // As the links are written: "|" between the fields, spaces as "%20".
            navigated_(url.toString(QUrl::FullyEncoded)
                           .replace(QStringLiteral("%7C"), QStringLiteral("|"), Qt::CaseInsensitive)
                           .toStdString());
        }
        return true;
    }

  private:
    std::function<void(const std::string&)> navigated_;
};

}  // namespace

filedelete::filedelete(const QUrl& connecting, const QUrl& listing,
                       std::function<void(const std::string&)> navigated, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("Delete files from Corvala server"));
    auto* layout = new QVBoxLayout(this);
    view_ = new QWebEngineView(this);
    view_->setPage(new ListingPage(new QWebEngineProfile(this), std::move(navigated), view_));
    view_->setMinimumSize(520, 380);
    layout->addWidget(view_, 1);
    auto* ok = new PictureButton(QStringLiteral("dialog_ok"), this);
    connect(ok, &QAbstractButton::clicked, this, &QDialog::accept);
    layout->addWidget(ok, 0, Qt::AlignHCenter);
    // The connecting page shows while the servlet prepares the listing.
    view_->load(connecting);
    auto pending = std::make_shared<QMetaObject::Connection>();
    *pending = connect(view_, &QWebEngineView::loadFinished, this, [this, listing, pending] {
        disconnect(*pending);
        view_->load(listing);
    });
}
