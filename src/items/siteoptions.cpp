#include "items/siteoptions.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>

#include "site/site_files.h"

siteoptions::siteoptions(const QString& folder, const SiteOptions& current, QWidget* parent)
    : DialogFrame(QStringLiteral("Site Options"), parent) {
    content()->addWidget(new QLabel(QStringLiteral("Site folder: ") + folder, this));
    const auto addSwitch = [this](const QString& caption, const QString& name, bool on,
                                  const QString& tip) {
        auto* box = new QCheckBox(caption, this);
        box->setObjectName(name);
        box->setChecked(on);
        box->setToolTip(tip);
        content()->addWidget(box);
        return box;
    };
    phoneFriendly_ = addSwitch(
        QStringLiteral("Phone-friendly pages"), QStringLiteral("phoneFriendly"),
        current.phoneFriendly,
        QStringLiteral("On screens narrower than 600 pixels the pages show their sections and "
                       "pictures in one column, in reading order; wider screens show them as "
                       "designed. Takes effect when a page is saved."));
    webPictures_ = addSwitch(
        QStringLiteral("Pictures prepared for the web"), QStringLiteral("webPictures"),
        current.webPictures,
        QStringLiteral("Published pages get copies of their pictures sized for their place, "
                       "in WebP beside the original format, turned upright and without the "
                       "camera's details or the place where they were taken. Your own pictures "
                       "are never changed."));
    siteFonts_ = addSwitch(
        QStringLiteral("Fonts travel with the site"), QStringLiteral("siteFonts"),
        current.siteFonts,
        QStringLiteral("The font files of the faces your sections show go along with the "
                       "pages, cut to the characters the site uses, so that every visitor sees "
                       "your faces and your line breaks. Nothing is fetched from another host. "
                       "Faces only on this computer, or whose licence forbids it, stay here."));
    content()->addWidget(new QLabel(QStringLiteral("Address of the site"), this));
    siteAddress_ = new QLineEdit(QString::fromStdString(current.siteAddress), this);
    siteAddress_->setPlaceholderText(QStringLiteral("https://example.org/"));
    siteAddress_->setToolTip(
        QStringLiteral("Where visitors find the site. When it is set, publishing also writes "
                       "sitemap.xml and robots.txt, and each page names its own address."));
    addEntry(siteAddress_, QStringLiteral("siteAddress"));
    addressProblem_ = new QLabel(this);
    addressProblem_->setObjectName(QStringLiteral("addressProblem"));
    addressProblem_->setStyleSheet(QStringLiteral("color: #a00000"));
    addressProblem_->hide();
    content()->addWidget(addressProblem_);
    addOkCancel();
}

SiteOptions siteoptions::options() const {
    SiteOptions options;
    options.phoneFriendly = phoneFriendly_->isChecked();
    options.webPictures = webPictures_->isChecked();
    options.siteFonts = siteFonts_->isChecked();
    options.siteAddress = SiteAddressFrom(siteAddress_->text().toStdString()).value_or("");
    return options;
}

void siteoptions::accept() {
    if (!SiteAddressFrom(siteAddress_->text().toStdString())) {
        addressProblem_->setText(
            QStringLiteral("The address of the site starts with https:// or http:// and names "
                           "its host, as in https://example.org/"));
        addressProblem_->show();
        siteAddress_->setFocus();
        return;
    }
    DialogFrame::accept();
}
