#include "items/deletedpages.h"

#include <QBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>

deletedpages::deletedpages(const QString& folder, const std::vector<DeletedPageEntry>& pages,
                           QWidget* parent)
    : DialogFrame(QStringLiteral("Deleted pages"), parent) {
    content()->addWidget(new QLabel(
        pages.empty()
            ? QStringLiteral("No page of %1 was deleted in the last 90 days.").arg(folder)
            : QStringLiteral("Pages deleted from %1 are kept 90 days with their versions. "
                             "Restore brings one back, with its links and its place in the menus.")
                  .arg(folder),
        this));
    list_ = new QTreeWidget(this);
    list_->setObjectName(QStringLiteral("deleted"));
    list_->setHeaderLabels({QStringLiteral("Title"), QStringLiteral("File"),
                            QStringLiteral("Deleted"), QStringLiteral("Kept until")});
    list_->setRootIsDecorated(false);
    list_->setMinimumSize(600, 240);
    for (const DeletedPageEntry& page : pages) {
        new QTreeWidgetItem(
            list_, {QString::fromStdString(page.title), QString::fromStdString(page.fileName),
                    QString::fromStdString(page.deleted), QString::fromStdString(page.keptUntil)});
    }
    if (list_->topLevelItemCount() > 0) {
        list_->setCurrentItem(list_->topLevelItem(0));
    }
    list_->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    content()->addWidget(list_);
    connect(list_, &QTreeWidget::itemActivated, this, &deletedpages::restore);

    auto* restore = new QPushButton(QStringLiteral("Restore"), this);
    restore->setObjectName(QStringLiteral("restoreButton"));
    restore->setEnabled(!pages.empty());
    connect(restore, &QPushButton::clicked, this, &deletedpages::restore);
    auto* actions = new QHBoxLayout;
    actions->addWidget(restore);
    actions->addStretch();
    content()->addLayout(actions);
    addButton(QStringLiteral("Close"), QDialog::Rejected);
}

void deletedpages::restore() {
    const int row = list_->indexOfTopLevelItem(list_->currentItem());
    if (row < 0) {
        return;
    }
    choice_ = static_cast<std::size_t>(row);
    accept();
}
