#pragma once

#include <optional>
#include <string>
#include <vector>

#include "page/page_record.h"
#include "store/page_versions.h"

class StoreAccess;

// The page's kept versions as the windows ask for them: failures told, never thrown.
class VersionStore {
  public:
    explicit VersionStore(StoreAccess& access);

    // The versions themselves, for statements inside another part's transaction.
    PageVersions& kept() { return versions_; }

    // Keeps the design saved now as a version; failures are told.
    void keep(const PageRecord& page, const std::string& picture);
    // The page's kept versions, newest first; none when the store cannot be read (told).
    std::vector<PageVersion> list(const std::string& folder, const std::string& fileName);
    std::optional<PageRecord> design(long long id);
    // When the page was last saved (seconds since 1970); nothing when no version says.
    std::optional<long long> lastSaved(const std::string& folder, const std::string& fileName);

  private:
    StoreAccess& access_;
    PageVersions versions_;
};
