#pragma once

#include <QPixmap>
#include <QWidget>

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
