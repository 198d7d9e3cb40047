#include "ui/stretched_background.h"

#include <QPainter>

StretchedBackground::StretchedBackground(const QString& picture, QWidget* parent)
    : QWidget(parent), picture_(picture) {}

void StretchedBackground::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(rect(), picture_);
}
