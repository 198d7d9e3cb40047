#include "hosting/siteaction.h"

#include <QBoxLayout>
#include <QRadioButton>

siteAction::siteAction(QWidget* parent) : DialogFrame(QStringLiteral("Corvala Folder"), parent) {
    view_ = new QRadioButton(QStringLiteral("View page online @ Corvala"), this);
    view_->setObjectName(QStringLiteral("view"));
    view_->setChecked(true);
    auto* rename = new QRadioButton(QStringLiteral("Change Corvala folder name"), this);
    rename->setObjectName(QStringLiteral("rename"));
    content()->addWidget(view_);
    content()->addWidget(rename);
    addOkCancel();
}

bool siteAction::viewOnline() const {
    return view_->isChecked();
}
