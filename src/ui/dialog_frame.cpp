#include "ui/dialog_frame.h"

#include <QLineEdit>
#include <QVBoxLayout>

#include "ui/picture_button.h"
#include "ui/stretched_background.h"

DialogFrame::DialogFrame(const QString& title, QWidget* parent) : QDialog(parent) {
    setWindowTitle(title);
    QVBoxLayout* inner = WithWindowBackground(this);
    content_ = new QVBoxLayout();
    inner->addLayout(content_);
    buttons_ = new QHBoxLayout();
    buttons_->addStretch();
    inner->addLayout(buttons_);
}

void DialogFrame::addButton(const QString& caption, int result) {
    auto* button = new PictureButton(caption, this);
    connect(button, &QAbstractButton::clicked, this, [this, result] { done(result); });
    buttons_->addWidget(button);
}

void DialogFrame::addOkCancel() {
    addButton(QStringLiteral("dialog_ok"), QDialog::Accepted);
    addButton(QStringLiteral("dialog_cancel"), QDialog::Rejected);
}

void DialogFrame::addEntry(QLineEdit* edit, const QString& objectName) {
    edit->setObjectName(objectName);
    content_->addWidget(edit);
    connect(edit, &QLineEdit::returnPressed, this, &QDialog::accept);
}
