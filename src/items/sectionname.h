#pragma once

#include "ui/dialog_frame.h"

class QLineEdit;

// Asks for the name the selected items are kept under as a section.
class sectionname : public DialogFrame {
    Q_OBJECT

  public:
    explicit sectionname(QWidget* parent);

    QString name() const;

  private:
    QLineEdit* edit_;
};
