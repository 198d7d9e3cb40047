#include "ftp/newfolder.h"

#include <QBoxLayout>
#include <QLabel>
#include <QLineEdit>

newFolder::newFolder(QWidget* parent) : DialogFrame(QStringLiteral("New server folder"), parent) {
    content()->addWidget(new QLabel(QStringLiteral("Enter a name for the new folder:"), this));
    edit_ = new QLineEdit(this);
    edit_->setObjectName(QStringLiteral("name"));
    edit_->setMinimumWidth(280);
    content()->addWidget(edit_);
    connect(edit_, &QLineEdit::returnPressed, this, &QDialog::accept);
    addButton(QStringLiteral("dialog_ok"), QDialog::Accepted);
    addButton(QStringLiteral("dialog_cancel"), QDialog::Rejected);
}

QString newFolder::name() const {
    return edit_->text();
}
