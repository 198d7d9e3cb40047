#pragma once

#include "ui/dialog_frame.h"

// The terms the user accepts before a folder is made at the hosting service.
class agreement : public DialogFrame {
    Q_OBJECT

  public:
    agreement(const QString& text, QWidget* parent);
};
