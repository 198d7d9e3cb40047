#pragma once

#include <optional>
#include <string>
#include <vector>

#include "ui/dialog_frame.h"

class QListWidget;

// "Check Site": what keeps the site folder's pages from serving visitors well, a line each.
// Opening a line (double-click, Return or the Open button) closes the window on that line.
class sitecheck : public DialogFrame {
    Q_OBJECT

  public:
    sitecheck(const QString& folder, const std::vector<std::string>& findings, QWidget* parent);

    // The line opened; nothing when the window was closed.
    std::optional<std::size_t> opened() const { return opened_; }

  private:
    void open();

    QListWidget* list_;
    std::optional<std::size_t> opened_;
};
