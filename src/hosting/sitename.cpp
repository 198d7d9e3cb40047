#include "hosting/sitename.h"

#include <QBoxLayout>
#include <QLabel>
#include <QLineEdit>

siteName::siteName(const QString& prompt, const QString& name, QWidget* parent)
    : DialogFrame(QStringLiteral("Corvala Folder Name"), parent) {
    auto* label = new QLabel(prompt, this);
    label->setObjectName(QStringLiteral("prompt"));
    content()->addWidget(label);
    edit_ = new QLineEdit(name, this);
    edit_->setObjectName(QStringLiteral("name"));
    edit_->setMinimumWidth(320);
    content()->addWidget(edit_);
    connect(edit_, &QLineEdit::returnPressed, this, &QDialog::accept);
    addButton(QStringLiteral("dialog_ok"), QDialog::Accepted);
    addButton(QStringLiteral("dialog_cancel"), QDialog::Rejected);
}

QString siteName::name() const {
    return edit_->text();
}
