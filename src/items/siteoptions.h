#pragma once

#include "ui/dialog_frame.h"

class QCheckBox;

// The options of one site folder, which every page written into it follows.
class siteoptions : public DialogFrame {
    Q_OBJECT

  public:
    siteoptions(const QString& folder, bool phoneFriendly, QWidget* parent);

    bool phoneFriendly() const;

  private:
    QCheckBox* phoneFriendly_;
};
