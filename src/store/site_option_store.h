#pragma once

#include <string>

#include "platform/site_options.h"

class StoreAccess;

// Each site folder's options, one row per folder in siteoptions.
class SiteOptionStore {
  public:
    explicit SiteOptionStore(StoreAccess& access) : access_(access) {}

    // All off when none were set or the store cannot be read.
    SiteOptions load(const std::string& folder);
    // Adds the columns later versions added to an older store first.
    bool save(const std::string& folder, const SiteOptions& options);

  private:
    StoreAccess& access_;
};
