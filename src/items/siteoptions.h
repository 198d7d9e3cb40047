#pragma once

#include "platform/site_options.h"
#include "ui/dialog_frame.h"

class QCheckBox;
class QLabel;
class QLineEdit;

// The options of one site folder, which every page written into it follows.
class siteoptions : public DialogFrame {
    Q_OBJECT

  public:
    siteoptions(const QString& folder, const SiteOptions& current, QWidget* parent);

    // What the dialog shows, the address as it will be used.
    SiteOptions options() const;

  public slots:
    // Stays open, and says why, while the address is not one a site can have.
    void accept() override;

  private:
    QCheckBox* phoneFriendly_;
    QCheckBox* webPictures_;
    QCheckBox* siteFonts_;
    QLineEdit* siteAddress_;
    QLabel* addressProblem_;
};
