#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/prompts.h"
#include "ui/dialog_frame.h"

class QListWidget;

// "History": a page's kept versions, newest first, each with when it was saved and a small
// picture of the page then. Open shows one to look at; Restore brings it back.
class pagehistory : public DialogFrame {
    Q_OBJECT

  public:
    pagehistory(const QString& page, const std::vector<PageVersionEntry>& versions,
                QWidget* parent);

    std::optional<VersionChoice> choice() const { return choice_; }

  private:
    void choose(VersionAction action);

    QListWidget* list_;
    std::optional<VersionChoice> choice_;
};
