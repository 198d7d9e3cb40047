#include "items/newpage.h"

#include <QBoxLayout>
#include <QLabel>
#include <QLineEdit>

newpage::newpage(QWidget* parent) : DialogFrame(QStringLiteral("Change file name:"), parent) {
    content()->addWidget(
        new QLabel(QStringLiteral("Enter a new file name for the current page:"), this));
    edit_ = new QLineEdit(this);
    edit_->setObjectName(QStringLiteral("fileName"));
    edit_->setMinimumWidth(280);
    content()->addWidget(edit_);
    connect(edit_, &QLineEdit::returnPressed, this, &QDialog::accept);
    addButton(QStringLiteral("dialog_ok"), QDialog::Accepted);
    addButton(QStringLiteral("dialog_cancel"), QDialog::Rejected);
}

QString newpage::fileName() const {
    return edit_->text();
}
