#include "hosting/upload_notice.h"

#include <QCoreApplication>
#include <QPixmap>

UploadNotice::UploadNotice(QWidget* owner) : QLabel(owner, Qt::Tool | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("uploadNotice"));
    setPixmap(QPixmap(QStringLiteral(":/resources/pictures/upload_notice.png")));
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    adjustSize();
}

void UploadNotice::showOver() {
    if (QWidget* owner = parentWidget()) {
        const QRect area = owner->geometry();
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
    show();
    repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}
