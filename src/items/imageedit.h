#pragma once

#include "ui/dialog_frame.h"

#include <optional>
#include <string>

class Prompts;
class QCheckBox;
class QLineEdit;

// The properties of a picture on the page: the file it shows (replace chooses another), the
// address it links to, and its description for people who cannot see it (or the mark that it
// only decorates).
class imageedit : public DialogFrame {
    Q_OBJECT

  public:
    // The replace button asks for the file through the prompts.
    imageedit(const QString& sourceFile, const QString& linkTarget,
              const std::optional<std::string>& description, Prompts& prompts, QWidget* parent);

    QString sourceFile() const;
    QString linkTarget() const;
    // None when the field is empty and the picture is not marked as decoration.
    std::optional<std::string> description() const;

  private:
    void replace();

    Prompts& prompts_;
    QLineEdit* source_;
    QLineEdit* link_;
    QLineEdit* description_;
    QCheckBox* decorative_;
};
