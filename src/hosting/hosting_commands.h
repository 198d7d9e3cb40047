#pragma once

// The hosting-service commands of the designer's pages: the folder of the user at the hosting
// service, uploading the current page, and deleting uploaded files. The designer session is
// given them when it is made, and they work in it through HostingSession.
class HostingCommands {
  public:
    virtual ~HostingCommands() = default;

    // The terms of the hosting service, accepted before the first folder is made.
    virtual bool acceptHostingAgreement() = 0;
    virtual void siteOptions() = 0;
    virtual void uploadPage() = 0;
    virtual void deleteServerPages() = 0;
};
