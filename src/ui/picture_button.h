#pragma once

#include <QAbstractButton>
#include <QPixmap>

// A button drawn from four pictures named after its caption in upper case with the suffixes
// U (up), D (down), F (focused) and X (disabled), for example NEWPAGEU for "newpage".
class PictureButton : public QAbstractButton {
    Q_OBJECT

  public:
    PictureButton(const QString& caption, QWidget* parent);
    // With the tool tip that says what it does.
    PictureButton(const QString& caption, const QString& tip, QWidget* parent);

    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QPixmap up_;
    QPixmap down_;
    QPixmap focused_;
    QPixmap disabled_;
};
