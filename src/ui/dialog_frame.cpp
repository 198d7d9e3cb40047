#include "ui/dialog_frame.h"

#include <QVBoxLayout>

#include "ui/picture_button.h"
#include "ui/stretched_background.h"

DialogFrame::DialogFrame(const QString& title, QWidget* parent) : QDialog(parent) {
    setWindowTitle(title);
    auto* background =
        new StretchedBackground(QStringLiteral(":/resources/pictures/window_background.png"), this);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(background);
    auto* inner = new QVBoxLayout(background);
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
