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
    edit_->setMinimumWidth(320);
    addEntry(edit_, QStringLiteral("name"));
    addOkCancel();
}

QString siteName::name() const {
    return edit_->text();
}
