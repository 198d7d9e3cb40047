#include "ui/stretched_background.h"

#include <QPainter>
#include <QVBoxLayout>

StretchedBackground::StretchedBackground(const QString& picture, QWidget* parent)
    : QWidget(parent), picture_(picture) {}

void StretchedBackground::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(rect(), picture_);
}

QVBoxLayout* WithWindowBackground(QWidget* window) {
    auto* background = new StretchedBackground(
        QStringLiteral(":/resources/pictures/window_background.png"), window);
    auto* outer = new QVBoxLayout(window);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(background);
    return new QVBoxLayout(background);
}
