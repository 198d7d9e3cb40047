#include "items/pagelist.h"

#include <QBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>

pagelist::pagelist(const QString& folder, const std::vector<PageListEntry>& pages,
                   const std::string& current, QWidget* parent)
    : DialogFrame(QStringLiteral("Pages"), parent) {
    content()->addWidget(new QLabel(QStringLiteral("Site folder: ") + folder, this));
    list_ = new QTreeWidget(this);
    list_->setObjectName(QStringLiteral("pages"));
    list_->setHeaderLabels(
        {QStringLiteral("Title"), QStringLiteral("File"), QStringLiteral("Last saved")});
    list_->setRootIsDecorated(false);
    list_->setMinimumSize(600, 280);
    for (const PageListEntry& page : pages) {
        auto* row = new QTreeWidgetItem(
            list_, {QString::fromStdString(page.title), QString::fromStdString(page.fileName),
                    QString::fromStdString(page.lastSaved)});
        if (page.fileName == current) {
            list_->setCurrentItem(row);
        }
    }
    if (list_->currentItem() == nullptr && list_->topLevelItemCount() > 0) {
        list_->setCurrentItem(list_->topLevelItem(0));
    }
    list_->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    content()->addWidget(list_);
    connect(list_, &QTreeWidget::itemActivated, this, [this] { choose(PageAction::Open); });

    auto* actions = new QHBoxLayout;
    const std::pair<const char*, PageAction> buttons[] = {
        {"Open", PageAction::Open},
        {"New...", PageAction::New},
        {"Duplicate...", PageAction::Duplicate},
        {"Rename...", PageAction::Rename},
        {"Delete...", PageAction::Delete},
        {"Make this the home page", PageAction::MakeHome},
        {"Deleted pages...", PageAction::ShowDeleted}};
    const char* names[] = {"openButton",   "newButton",  "duplicateButton", "renameButton",
                           "deleteButton", "homeButton", "deletedButton"};
    for (std::size_t i = 0; i < std::size(buttons); ++i) {
        auto* button = new QPushButton(QString::fromLatin1(buttons[i].first), this);
        button->setObjectName(QString::fromLatin1(names[i]));
        const PageAction action = buttons[i].second;
        // A new page and the deleted ones need no page chosen; the others work on the one
        // chosen.
        const bool needsNone = action == PageAction::New || action == PageAction::ShowDeleted;
        button->setEnabled(needsNone || list_->currentItem() != nullptr);
        connect(button, &QPushButton::clicked, this, [this, action] { choose(action); });
        actions->addWidget(button);
    }
    content()->addLayout(actions);
    addButton(QStringLiteral("Close"), QDialog::Rejected);
}

void pagelist::choose(PageAction action) {
    const QTreeWidgetItem* row = list_->currentItem();
    if (row == nullptr && action != PageAction::New && action != PageAction::ShowDeleted) {
        return;
    }
    choice_ = PageChoice{action, row != nullptr ? row->text(1).toStdString() : std::string()};
    accept();
}
