#pragma once

#include <string>
#include <vector>

class StoreAccess;

// A rename of one of a folder's pages: old name, new name and when (milliseconds since 1970,
// as versions count).
struct PageRename {
    std::string oldName;
    std::string newName;
    long long when = 0;
};

// The folder's renames, in renamedpages, for the links of versions saved before them.
class PageRenames {
  public:
    explicit PageRenames(StoreAccess& access) : access_(access) {}

    // The old name counts as deleted from now on: every upload target removes its file.
    bool remember(const std::string& folder, const std::string& oldName,
                  const std::string& newName);
    // Oldest first.
    std::vector<PageRename> of(const std::string& folder);

  private:
    StoreAccess& access_;
};
