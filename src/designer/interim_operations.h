#pragma once

struct Workspace;
class Clipboard;
class Prompts;

// Serves the hosting commands until their own operations are built: it keeps the layout the
// page handed over, gives the user's clipboard text back, and tells the user that the command
// is not available yet.
class InterimOperations {
  public:
    InterimOperations(Workspace& workspace, Clipboard& clipboard, Prompts& prompts);

    bool acceptHostingAgreement();
    void siteOptions();
    void uploadPage();
    void deleteServerPages();

  private:
    // For commands the page sent its layout with.
    void takeLayoutAndTell(const char* what);
    void tell(const char* what);

    Workspace& workspace_;
    Clipboard& clipboard_;
    Prompts& prompts_;
};
