#pragma once

#include "ui/dialog_frame.h"

class QLineEdit;

// Asks for the name of the user's folder at the hosting service.
class siteName : public DialogFrame {
    Q_OBJECT

  public:
    siteName(const QString& prompt, const QString& name, QWidget* parent);

    QString name() const;

  private:
    QLineEdit* edit_;
};
