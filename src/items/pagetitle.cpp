#include "items/pagetitle.h"

#include <QBoxLayout>
#include <QLabel>
#include <QLineEdit>

pagetitle::pagetitle(const QString& title, QWidget* parent)
    : DialogFrame(QStringLiteral("Page Title"), parent) {
    content()->addWidget(new QLabel(QStringLiteral("Enter a new name for the page title:"), this));
    edit_ = new QLineEdit(title, this);
    edit_->setMinimumWidth(320);
    addEntry(edit_, QStringLiteral("title"));
    addOkCancel();
}

QString pagetitle::title() const {
    return edit_->text();
}
