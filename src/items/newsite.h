#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/prompts.h"
#include "ui/dialog_frame.h"

class QListWidget;

// "New Site": a grid of the starter sites, each with a picture of its home page, its name, its
// kind and a line about it, "Blank site" first. Choosing one (double-click, Return or Make
// Site) closes the window on it.
class newsite : public DialogFrame {
    Q_OBJECT

  public:
    newsite(const std::vector<StarterOffer>& starters, QWidget* parent);

    // The starter's id; empty for a blank site; nothing when the window was closed.
    std::optional<std::string> chosen() const { return chosen_; }

  private:
    QListWidget* grid_;
    std::vector<std::string> ids_;
    std::optional<std::string> chosen_;
};
