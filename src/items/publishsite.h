#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/prompts.h"
#include "ui/dialog_frame.h"

class QLineEdit;
class QListWidget;

// "Publish": where the site folder goes (the hosting service, an FTP or SFTP folder, a Git
// branch, a bucket), each written as the command line's --upload takes it. Add puts the typed
// target in the list, Remove takes the chosen one out; Publish publishes the chosen one, with
// the password, token or KEY:SECRET typed for it.
class publishsite : public DialogFrame {
    Q_OBJECT

  public:
    publishsite(const QString& folder, const std::vector<std::string>& targets, QWidget* parent);

    // The targets as left, and the one to publish when Publish was pressed.
    PublishRequest request() const;

  private:
    void add();

    QListWidget* list_;
    QLineEdit* target_;
    QLineEdit* secret_;
    bool publish_ = false;
};
