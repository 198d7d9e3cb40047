#pragma once

#include <cstddef>
#include <string>
#include <vector>

class PagePublisher;
class PageStore;
class Prompts;

// Writes every page of the folder but the quickstart tutorial and the one skipped from its
// stored design, as the command line does, telling the prompts how far it has come when they
// are given.
struct StoredPagesWritten {
    std::size_t written = 0;
    std::vector<std::string> failed;
};
StoredPagesWritten WriteStoredPages(PageStore& store, PagePublisher& publisher,
                                    const std::string& folder,
                                    const std::string& skipped = std::string(),
                                    Prompts* progress = nullptr);
