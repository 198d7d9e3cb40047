#pragma once

#include "ui/dialog_frame.h"

class QRadioButton;

// What to do with the existing hosting folder: view the current page online, or rename it.
class siteAction : public DialogFrame {
    Q_OBJECT

  public:
    explicit siteAction(QWidget* parent);

    bool viewOnline() const;

  private:
    QRadioButton* view_;
};
