#include "items/sectionname.h"

#include <QBoxLayout>
#include <QLabel>
#include <QLineEdit>

sectionname::sectionname(QWidget* parent) : DialogFrame(QStringLiteral("Save as Section"), parent) {
    content()->addWidget(new QLabel(
        QStringLiteral("Keep the selected items in the library of sections under the name:"),
        this));
    edit_ = new QLineEdit(this);
    edit_->setMinimumWidth(320);
    addEntry(edit_, QStringLiteral("sectionName"));
    addOkCancel();
}

QString sectionname::name() const {
    return edit_->text();
}
