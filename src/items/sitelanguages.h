#pragma once

#include <string>
#include <vector>

#include "ui/dialog_frame.h"

class QLabel;
class QLineEdit;
class QListWidget;

// The languages of one site folder, each by its own name and tag, the first the main one: a
// tag typed is added, the one chosen removed or made the main language.
class sitelanguages : public DialogFrame {
    Q_OBJECT

  public:
    sitelanguages(const QString& folder, const std::vector<std::string>& current, QWidget* parent);

    std::vector<std::string> languages() const { return languages_; }

  private:
    void showLanguages();
    void add();
    void removeChosen();
    void makeMain();

    std::vector<std::string> languages_;
    QListWidget* list_;
    QLineEdit* tag_;
    QLabel* problem_;
};
