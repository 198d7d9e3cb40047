#include "transfer/newfolder.h"

#include <QBoxLayout>
#include <QLabel>
#include <QLineEdit>

newFolder::newFolder(QWidget* parent) : DialogFrame(QStringLiteral("New server folder"), parent) {
    content()->addWidget(new QLabel(QStringLiteral("Enter a name for the new folder:"), this));
    edit_ = new QLineEdit(this);
    edit_->setMinimumWidth(280);
    addEntry(edit_, QStringLiteral("name"));
    addOkCancel();
}

QString newFolder::name() const {
    return edit_->text();
}
