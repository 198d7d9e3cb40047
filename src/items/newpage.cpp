#include "items/newpage.h"

#include <QBoxLayout>
#include <QLabel>
#include <QLineEdit>

newpage::newpage(QWidget* parent) : DialogFrame(QStringLiteral("Change file name:"), parent) {
    content()->addWidget(
        new QLabel(QStringLiteral("Enter a new file name for the current page:"), this));
    edit_ = new QLineEdit(this);
    edit_->setMinimumWidth(280);
    addEntry(edit_, QStringLiteral("fileName"));
    addOkCancel();
}

QString newpage::fileName() const {
    return edit_->text();
}
