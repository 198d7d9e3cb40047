#pragma once

#include "platform/site_menu_choices.h"
#include "ui/dialog_frame.h"

class QCheckBox;
class QLineEdit;
class QListWidget;
class QRadioButton;
class QSpinBox;

// "Site Menu": which pages of the site folder the menu shows (ticked), in which order (Up and
// Down, or the keyboard), under which labels (edited in place), across or down, and its face,
// size and colours.
class sitemenu : public DialogFrame {
    Q_OBJECT

  public:
    sitemenu(const SiteMenu& current, const FolderPages& pages, QWidget* parent);

    SiteMenu menu() const;

  private:
    void move(int by);

    QListWidget* pages_;
    QRadioButton* across_;
    QLineEdit* face_;
    QSpinBox* size_;
    QLineEdit* colour_;
    QLineEdit* currentColour_;
    QCheckBox* newPages_;
};
