#include "items/pagelength.h"

#include <QBoxLayout>
#include <QLabel>

#include "ui/numeric_edit.h"

pagelength::pagelength(const QString& length, QWidget* parent)
    : DialogFrame(QStringLiteral("Page length selector"), parent) {
    content()->addWidget(
        new QLabel(QStringLiteral("Select a new length for the \"page\" container:"), this));
    edit_ = new NumericEdit(9, 4, this);
    edit_->setText(length);
    addEntry(edit_, QStringLiteral("pageLength"));
    addOkCancel();
}

QString pagelength::pageLength() const {
    return edit_->text();
}
