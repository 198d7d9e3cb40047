#pragma once

#include "designer/designer_operations.h"

struct Workspace;
class Clipboard;
class Prompts;

// Serves the item, background, length and hosting commands until their own operations are
// built: it keeps the layout the page handed over, gives the user's clipboard
// text back, and tells the user that the command is not available yet.
class InterimOperations : public DesignerOperations {
  public:
    InterimOperations(Workspace& workspace, Clipboard& clipboard, Prompts& prompts);

    void addItem(const std::string& argument) override;
    void editText(const std::string& argument) override;
    void deleteText(const std::string& argument) override;
    void editPicture(const std::string& name) override;
    void deletePicture(const std::string& name) override;
    void backgroundPicture(const std::string& target) override;
    void backgroundColour(const std::string& target) override;
    void pageLength() override;
    bool acceptHostingAgreement() override;
    void siteOptions() override;
    void uploadPage() override;
    void deleteServerPages() override;

  private:
    // For commands the page sent its layout with.
    void takeLayoutAndTell(const std::string& what);
    void tell(const std::string& what);

    Workspace& workspace_;
    Clipboard& clipboard_;
    Prompts& prompts_;
};
