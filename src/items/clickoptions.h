#pragma once

#include "ui/dialog_frame.h"

class QToolButton;

// What to do with a clicked text section or picture: centre, edit or delete it, or align or
// distribute it with the other selected items ("ALIGNLEFT" ... "DISTRIBUTEV"). OK alone leaves
// the choice "NONE".
class clickoptions : public DialogFrame {
    Q_OBJECT

  public:
    explicit clickoptions(QWidget* parent);

    const QString& choice() const { return choice_; }

  private:
    void addChoice(const QString& caption, const QString& choice);
    // A button of a group, named by its choice, that ends the dialog with it.
    QToolButton* textChoice(QWidget* group, const char* caption, const char* choice);

    QString choice_ = QStringLiteral("NONE");
};
