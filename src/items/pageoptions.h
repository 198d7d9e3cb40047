#pragma once

#include <optional>
#include <string>

#include "platform/prompts.h"
#include "ui/dialog_frame.h"

class QCheckBox;
class QLineEdit;

// The page's language and one-line description, as the published page declares them to
// browsers, screen readers and search engines. A page without a language is offered the
// user's own.
class pageoptions : public DialogFrame {
    Q_OBJECT

  public:
    pageoptions(const PageOptions& current, const QString& ownLanguage, QWidget* parent);

    // None when the field is left empty.
    std::optional<std::string> language() const;
    std::optional<std::string> description() const;
    bool noSiteItems() const;

  private:
    QLineEdit* language_;
    QLineEdit* description_;
    QCheckBox* noSiteItems_;
};
