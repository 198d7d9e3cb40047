#include "ui/picture_button.h"

#include <QPainter>

namespace {

QPixmap StatePicture(const QString& caption, QChar state) {
    return QPixmap(QStringLiteral(":/resources/pictures/") + caption.toUpper() + state +
                   QStringLiteral(".png"));
}

}  // namespace

PictureButton::PictureButton(const QString& caption, QWidget* parent)
    : QAbstractButton(parent),
      up_(StatePicture(caption, QLatin1Char('U'))),
      down_(StatePicture(caption, QLatin1Char('D'))),
      focused_(StatePicture(caption, QLatin1Char('F'))),
      disabled_(StatePicture(caption, QLatin1Char('X'))) {
    setObjectName(caption);
    setAccessibleName(caption);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
}

PictureButton::PictureButton(const QString& caption, const QString& tip, QWidget* parent)
    : PictureButton(caption, parent) {
    setToolTip(tip);
}

QSize PictureButton::sizeHint() const {
    return up_.isNull() ? QSize(40, 28) : up_.size();
}

void PictureButton::paintEvent(QPaintEvent*) {
    const QPixmap* picture = &up_;
    if (!isEnabled()) {
        picture = &disabled_;
    } else if (isDown() || isChecked()) {
        picture = &down_;
    } else if (hasFocus()) {
        picture = &focused_;
    }
    QPainter painter(this);
    painter.drawPixmap(rect(), *picture);
}
