#pragma once

#include <string>
#include <vector>

class StoreAccess;

// Where each site folder is published, in publishtargets.
class PublishTargetStore {
  public:
    explicit PublishTargetStore(StoreAccess& access) : access_(access) {}

    // Each as quillora-publish names a target after --upload ("git+ssh://git@host/site.git
    // --branch pages"), in the user's order.
    std::vector<std::string> load(const std::string& folder);
    // The folder's whole list replaced in one transaction.
    bool save(const std::string& folder, const std::vector<std::string>& targets);

  private:
    StoreAccess& access_;
};
