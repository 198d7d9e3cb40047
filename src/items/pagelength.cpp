#include "items/pagelength.h"

#include <QBoxLayout>
#include <QLabel>

#include "ui/numeric_edit.h"

pagelength::pagelength(const QString& length, QWidget* parent)
    : DialogFrame(QStringLiteral("Page length selector"), parent) {
    content()->addWidget(
        new QLabel(QStringLiteral("Select a new length for the \"page\" container:"), this));
    edit_ = new NumericEdit(9, 4, this);
    edit_->setObjectName(QStringLiteral("pageLength"));
    edit_->setText(length);
    content()->addWidget(edit_);
    connect(edit_, &QLineEdit::returnPressed, this, &QDialog::accept);
    addButton(QStringLiteral("dialog_ok"), QDialog::Accepted);
    addButton(QStringLiteral("dialog_cancel"), QDialog::Rejected);
}

QString pagelength::pageLength() const {
    return edit_->text();
}
