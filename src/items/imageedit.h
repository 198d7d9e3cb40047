#pragma once

#include "ui/dialog_frame.h"

class Prompts;
class QLineEdit;

// The properties of a picture on the page: the file it shows (replace chooses another) and
// the address it links to.
class imageedit : public DialogFrame {
    Q_OBJECT

  public:
    // The replace button asks for the file through the prompts.
    imageedit(const QString& sourceFile, const QString& linkTarget, Prompts& prompts,
              QWidget* parent);

    QString sourceFile() const;
    QString linkTarget() const;

  private:
    void replace();

    Prompts& prompts_;
    QLineEdit* source_;
    QLineEdit* link_;
};
