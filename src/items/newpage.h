#pragma once

#include "ui/dialog_frame.h"

class QLineEdit;

// Asks for the new file name of the current page; starts empty.
class newpage : public DialogFrame {
    Q_OBJECT

  public:
    explicit newpage(QWidget* parent);

    QString fileName() const;

  private:
    QLineEdit* edit_;
};
