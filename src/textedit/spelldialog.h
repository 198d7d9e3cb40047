#pragma once

#include "platform/prompts.h"
#include "ui/dialog_frame.h"

class QLineEdit;
class QListWidget;

// Asks what to do with a word the dictionary does not know: replace it with the typed text or
// a suggestion, add it to the custom word list, leave it, or stop checking.
class spelldialog : public DialogFrame {
    Q_OBJECT

  public:
    // The suggestions are separated by single spaces.
    spelldialog(const QString& word, const QString& suggestions, QWidget* parent);

    // What the user decided; meaningful once the dialog has ended.
    SpellAnswer answer() const { return answer_; }

  private:
    void accept() override;

    QLineEdit* edit_;
    QListWidget* list_;
    SpellAnswer answer_;
};
