#include "hosting/upload_notice.h"

#include <QCoreApplication>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>

UploadNotice::UploadNotice(QWidget* owner) : QLabel(owner, Qt::Tool | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("uploadNotice"));
    setPixmap(QPixmap(QStringLiteral(":/resources/pictures/upload_notice.png")));
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    adjustSize();
    setFixedSize(size());
    progress_ = new QProgressBar(this);
    progress_->setObjectName(QStringLiteral("progress"));
    progress_->setRange(0, 100);
    cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
    cancel_->setObjectName(QStringLiteral("cancel"));
    cancel_->adjustSize();
    progress_->setGeometry(20, height() - 26, width() - 48 - cancel_->width(), 16);
    cancel_->move(width() - 20 - cancel_->width(), height() - 30);
    progress_->hide();
    cancel_->hide();
    connect(cancel_, &QPushButton::clicked, this, [this] { cancelled_ = true; });
    setWindowModality(Qt::ApplicationModal);
}

void UploadNotice::showWaiting(const QString& text) {
    // Above the Cancel button, in the picture's frame.
    setContentsMargins(12, 8, 12, 36);
    setWordWrap(true);
    setAlignment(Qt::AlignCenter);
    setText(text);
    place();
}

void UploadNotice::showOver() {
    setContentsMargins(0, 0, 0, 0);
    setPixmap(QPixmap(QStringLiteral(":/resources/pictures/upload_notice.png")));
    place();
}

void UploadNotice::place() {
    if (QWidget* owner = parentWidget()) {
        const QRect area = owner->geometry();
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
    progress_->hide();
    cancel_->show();
    // A Cancel given stays given while the notice is up: each new line of a publish shows it
    // again, and must not take the user's answer back.
    if (!isVisible()) {
        cancelled_ = false;
    }
    show();
    repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void UploadNotice::showProgress(int percent) {
    progress_->setValue(percent);
    progress_->show();
    repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}
