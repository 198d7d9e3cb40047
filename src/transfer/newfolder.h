#pragma once

#include "ui/dialog_frame.h"

class QLineEdit;

// Asks for the name of a new folder on the FTP server.
class newFolder : public DialogFrame {
    Q_OBJECT

  public:
    explicit newFolder(QWidget* parent);

    QString name() const;

  private:
    QLineEdit* edit_;
};
