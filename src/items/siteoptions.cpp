#include "items/siteoptions.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QLabel>

siteoptions::siteoptions(const QString& folder, bool phoneFriendly, QWidget* parent)
    : DialogFrame(QStringLiteral("Site Options"), parent) {
    content()->addWidget(new QLabel(QStringLiteral("Site folder: ") + folder, this));
    phoneFriendly_ = new QCheckBox(QStringLiteral("Phone-friendly pages"), this);
    phoneFriendly_->setObjectName(QStringLiteral("phoneFriendly"));
    phoneFriendly_->setChecked(phoneFriendly);
    phoneFriendly_->setToolTip(
        QStringLiteral("On screens narrower than 600 pixels the pages show their sections and "
                       "pictures in one column, in reading order; wider screens show them as "
                       "designed. Takes effect when a page is saved."));
    content()->addWidget(phoneFriendly_);
    addOkCancel();
}

bool siteoptions::phoneFriendly() const {
    return phoneFriendly_->isChecked();
}
