#pragma once

#include <optional>
#include <vector>

#include "platform/prompts.h"
#include "ui/dialog_frame.h"

class QListWidget;

// "Sections": the library of sections, each drawn small from its items, the user's first.
// Add (double-click, Return or OK) adds the one chosen; From File... adds one from a section
// file; Save to File... writes the chosen one to a file.
class sectionlibrary : public DialogFrame {
    Q_OBJECT

  public:
    sectionlibrary(const std::vector<SectionOffer>& sections, QWidget* parent);

    std::optional<SectionChoice> choice() const { return choice_; }

  private:
    void choose(SectionAction action);

    QListWidget* grid_;
    std::optional<SectionChoice> choice_;
};
