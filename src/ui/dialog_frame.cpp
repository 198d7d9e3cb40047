#include "ui/dialog_frame.h"

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
