#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/prompts.h"
#include "ui/dialog_frame.h"

class QTreeWidget;

// "Deleted pages": the site folder's deleted pages still kept, newest first, with when each was
// deleted and until when it is kept. Restore ends the window with the page chosen.
class deletedpages : public DialogFrame {
    Q_OBJECT

  public:
    deletedpages(const QString& folder, const std::vector<DeletedPageEntry>& pages,
                 QWidget* parent);

    std::optional<std::size_t> choice() const { return choice_; }

  private:
    void restore();

    QTreeWidget* list_;
    std::optional<std::size_t> choice_;
};
