#include "items/pagetitle.h"

#include <QBoxLayout>
#include <QLabel>
#include <QLineEdit>

pagetitle::pagetitle(const QString& title, QWidget* parent)
    : DialogFrame(QStringLiteral("Page Title"), parent) {
    content()->addWidget(new QLabel(QStringLiteral("Enter a new name for the page title:"), this));
    edit_ = new QLineEdit(title, this);
    edit_->setObjectName(QStringLiteral("title"));
    edit_->setMinimumWidth(320);
    content()->addWidget(edit_);
    connect(edit_, &QLineEdit::returnPressed, this, &QDialog::accept);
    addButton(QStringLiteral("dialog_ok"), QDialog::Accepted);
    addButton(QStringLiteral("dialog_cancel"), QDialog::Rejected);
}

QString pagetitle::title() const {
    return edit_->text();
}
