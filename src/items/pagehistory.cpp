#include "items/pagehistory.h"

#include <QBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>

namespace {

constexpr int kPictureWidth = 160;
constexpr int kPictureHeight = 110;

}  // namespace

pagehistory::pagehistory(const QString& page, const std::vector<PageVersionEntry>& versions,
                         QWidget* parent)
    : DialogFrame(QStringLiteral("History"), parent) {
    content()->addWidget(new QLabel(
        QStringLiteral("Versions of %1 kept at each save, newest first.").arg(page), this));
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("versions"));
    list_->setIconSize(QSize(kPictureWidth, kPictureHeight));
    list_->setMinimumSize(560, 360);
    for (const PageVersionEntry& version : versions) {
        QPixmap picture;
        if (!version.picture.empty()) {
            picture.loadFromData(reinterpret_cast<const uchar*>(version.picture.data()),
                                 static_cast<uint>(version.picture.size()));
        }
        if (picture.isNull()) {
            picture = QPixmap(kPictureWidth, kPictureHeight);
            picture.fill(Qt::white);
        }
        list_->addItem(new QListWidgetItem(
            QIcon(picture.scaled(kPictureWidth, kPictureHeight, Qt::KeepAspectRatio,
                                 Qt::SmoothTransformation)),
            QString::fromStdString(version.savedAt)));
    }
    list_->setCurrentRow(versions.empty() ? -1 : 0);
    content()->addWidget(list_);
    connect(list_, &QListWidget::itemActivated, this, [this] { choose(VersionAction::Look); });

    auto* actions = new QHBoxLayout;
    auto* look = new QPushButton(QStringLiteral("Open"), this);
    look->setObjectName(QStringLiteral("openButton"));
    look->setToolTip(QStringLiteral("Show this version in your browser"));
    connect(look, &QPushButton::clicked, this, [this] { choose(VersionAction::Look); });
    auto* restore = new QPushButton(QStringLiteral("Restore"), this);
    restore->setObjectName(QStringLiteral("restoreButton"));
    restore->setToolTip(QStringLiteral("Bring this version back; Undo takes it back again"));
    connect(restore, &QPushButton::clicked, this, [this] { choose(VersionAction::Restore); });
    actions->addWidget(look);
    actions->addWidget(restore);
    actions->addStretch();
    content()->addLayout(actions);
    addButton(QStringLiteral("Close"), QDialog::Rejected);
}

void pagehistory::choose(VersionAction action) {
    if (list_->currentRow() < 0) {
        return;
    }
    choice_ = VersionChoice{action, static_cast<std::size_t>(list_->currentRow())};
    accept();
}
