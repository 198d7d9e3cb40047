#pragma once

#include "ui/dialog_frame.h"

class QLineEdit;

// Asks for the target of a link: a file name or an internet address.
class linkselector : public DialogFrame {
    Q_OBJECT

  public:
    explicit linkselector(QWidget* parent);

    QString target() const;

  private:
    QLineEdit* edit_;
};
