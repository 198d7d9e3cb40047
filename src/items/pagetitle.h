#pragma once

#include "ui/dialog_frame.h"

class QLineEdit;

// Asks for the page's title, starting from the current one.
class pagetitle : public DialogFrame {
    Q_OBJECT

  public:
    pagetitle(const QString& title, QWidget* parent);

    QString title() const;

  private:
    QLineEdit* edit_;
};
