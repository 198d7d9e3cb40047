#include "items/publishsite.h"

#include <QBoxLayout>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

publishsite::publishsite(const QString& folder, const std::vector<std::string>& targets,
                         QWidget* parent)
    : DialogFrame(QStringLiteral("Publish"), parent) {
    content()->addWidget(new QLabel(QStringLiteral("Site folder: ") + folder, this));
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("targets"));
    list_->setMinimumSize(560, 160);
    for (const std::string& target : targets) {
        list_->addItem(QString::fromStdString(target));
    }
    list_->setCurrentRow(targets.empty() ? -1 : 0);
    content()->addWidget(list_);

    auto* form = new QFormLayout;
    target_ = new QLineEdit(this);
    target_->setObjectName(QStringLiteral("target"));
    target_->setPlaceholderText(
        QStringLiteral("hosting, sftp://user@host/folder, git+ssh://git@host/site.git "
                       "--branch gh-pages, s3://bucket/prefix --s3-region eu-west-1"));
    form->addRow(QStringLiteral("New target:"), target_);
    secret_ = new QLineEdit(this);
    secret_->setObjectName(QStringLiteral("secret"));
    secret_->setEchoMode(QLineEdit::Password);
    secret_->setPlaceholderText(
        QStringLiteral("password, token or KEY:SECRET; kept in the keyring"));
    form->addRow(QStringLiteral("Password or token:"), secret_);
    content()->addLayout(form);

    auto* actions = new QHBoxLayout;
    auto* adding = new QPushButton(QStringLiteral("Add"), this);
    adding->setObjectName(QStringLiteral("addButton"));
    connect(adding, &QPushButton::clicked, this, &publishsite::add);
    connect(target_, &QLineEdit::returnPressed, this, &publishsite::add);
    auto* remove = new QPushButton(QStringLiteral("Remove"), this);
    remove->setObjectName(QStringLiteral("removeButton"));
    connect(remove, &QPushButton::clicked, this, [this] { delete list_->currentItem(); });
    auto* publish = new QPushButton(QStringLiteral("Publish"), this);
    publish->setObjectName(QStringLiteral("publishButton"));
    publish->setDefault(true);
    connect(publish, &QPushButton::clicked, this, [this] {
        if (list_->currentRow() >= 0) {
            publish_ = true;
            accept();
        }
    });
    actions->addWidget(adding);
    actions->addWidget(remove);
    actions->addStretch();
    actions->addWidget(publish);
    content()->addLayout(actions);
    addButton(QStringLiteral("Close"), QDialog::Accepted);
}

void publishsite::add() {
    const QString typed = target_->text().simplified();
    if (!typed.isEmpty()) {
        list_->addItem(typed);
        list_->setCurrentRow(list_->count() - 1);
        target_->clear();
    }
}

PublishRequest publishsite::request() const {
    PublishRequest request;
    for (int i = 0; i < list_->count(); ++i) {
        request.targets.push_back(list_->item(i)->text().toStdString());
    }
    if (publish_ && list_->currentRow() >= 0) {
        request.chosen = static_cast<std::size_t>(list_->currentRow());
    }
    request.secret = secret_->text().toStdString();
    return request;
}
