#pragma once

#include "ui/dialog_frame.h"

class NumericEdit;

// Asks for the new length of the page container, starting from the current one.
class pagelength : public DialogFrame {
    Q_OBJECT

  public:
    pagelength(const QString& length, QWidget* parent);

    QString pageLength() const;

  private:
    NumericEdit* edit_;
};
