#include "items/clickoptions.h"

#include <QBoxLayout>
#include <QLabel>

#include "ui/picture_button.h"

clickoptions::clickoptions(QWidget* parent) : DialogFrame(QStringLiteral("Edit Options"), parent) {
    content()->addWidget(new QLabel(QStringLiteral("What should happen to this item?"), this));
    addChoice(QStringLiteral("dialog_center"), QStringLiteral("CENTER"));
    addChoice(QStringLiteral("dialog_edit"), QStringLiteral("EDIT"));
    addChoice(QStringLiteral("dialog_delete"), QStringLiteral("DELETE"));
    addOkCancel();
}

void clickoptions::addChoice(const QString& caption, const QString& choice) {
    auto* button = new PictureButton(caption, this);
    connect(button, &QAbstractButton::clicked, this, [this, choice] {
        choice_ = choice;
        accept();
    });
    content()->addWidget(button, 0, Qt::AlignHCenter);
}
