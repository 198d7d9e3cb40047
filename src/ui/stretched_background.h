#pragma once

#include <QPixmap>
#include <QWidget>

class QVBoxLayout;

// A widget whose background is one picture stretched over its whole area.
class StretchedBackground : public QWidget {
    Q_OBJECT

  public:
    StretchedBackground(const QString& picture, QWidget* parent);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QPixmap picture_;
};

// Fills the window with the program's window background picture, stretched; the layout its
// content goes into.
QVBoxLayout* WithWindowBackground(QWidget* window);
