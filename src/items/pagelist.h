#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/prompts.h"
#include "ui/dialog_frame.h"

class QTreeWidget;

// "Pages": the site folder's pages with their titles, file names and when each was saved last.
// A button (or a double-click, which opens) ends the window with what to do with the page
// chosen; the program shows the window again after a change.
class pagelist : public DialogFrame {
    Q_OBJECT

  public:
    pagelist(const QString& folder, const std::vector<PageListEntry>& pages,
             const std::string& current, QWidget* parent);

    std::optional<PageChoice> choice() const { return choice_; }

  private:
    void choose(PageAction action);

    QTreeWidget* list_;
    std::optional<PageChoice> choice_;
};
